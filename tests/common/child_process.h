// Running part of a test in a process of its own, for limits (file size,
// memory) that must not reach the test program itself.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tavimor::test {

// Runs body in a child process and returns its exit status (-signal when
// killed). The child leaves through _exit, so no test machinery runs there.
inline int RunInChild(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (...) {
            code = 98;
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

} // namespace tavimor::test
