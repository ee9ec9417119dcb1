// Runs the built tavimor-cli as a user would and collects what it said: its
// exit code, standard output and standard error. The arguments go to the
// program as they are, without a shell, so a path holding a quote, a space or
// a dollar sign reaches it unchanged.
#pragma once

#include "common/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace tavimor::test {

struct CliRun {
    int exitCode = -1; // -1 when the program did not exit by itself (a signal)
    std::string out;
    std::string err;
};

namespace cli_detail {

// A file descriptor closed when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1)
        : fd_(fd)
    {
    }
    Fd(Fd&& other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(Fd&&) = delete;

    int Get() const { return fd_; }
    void Close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

[[noreturn]] inline void Fail(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

// A pipe whose ends are not inherited by a program the child starts.
inline std::pair<Fd, Fd> MakePipe()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        Fail("pipe2");
    return {Fd(ends[0]), Fd(ends[1])};
}

// Reads both pipes to their end together, so that a program filling one of
// them while the test waits on the other cannot block.
inline void ReadBoth(const Fd& out, std::string& outText, const Fd& err, std::string& errText)
{
    pollfd fds[2] = {{out.Get(), POLLIN, 0}, {err.Get(), POLLIN, 0}};
    std::string* texts[2] = {&outText, &errText};
    int open = 2;
    char buffer[4096];
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            Fail("poll");
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                fds[i].fd = -1; // poll passes over negative descriptors
                --open;
            } else {
                texts[i]->append(buffer, static_cast<std::size_t>(got));
            }
        }
    }
}

} // namespace cli_detail

// Runs tavimor-cli with args inside folder (its current folder, so relative
// paths are the folder's), standard input empty.
inline CliRun RunCli(const TempFolder& folder, const std::vector<std::string>& args)
{
    using cli_detail::Fd;
    // Everything the child needs is prepared before fork: after it, the child
    // only makes system calls.
    std::vector<std::string> words {TAVIMOR_CLI};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string& workDir = folder.Path();

    Fd nullInput(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (nullInput.Get() < 0)
        cli_detail::Fail("open /dev/null");
    auto [outRead, outWrite] = cli_detail::MakePipe();
    auto [errRead, errWrite] = cli_detail::MakePipe();

    const pid_t pid = ::fork();
    if (pid < 0)
        cli_detail::Fail("fork");
    if (pid == 0) {
        if (::dup2(nullInput.Get(), STDIN_FILENO) < 0 || ::dup2(outWrite.Get(), STDOUT_FILENO) < 0
            || ::dup2(errWrite.Get(), STDERR_FILENO) < 0 || ::chdir(workDir.c_str()) != 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        const char message[] = "tavimor-cli could not be started\n";
        [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, message, sizeof message - 1);
        ::_exit(127);
    }

    // The parent keeps only the reading ends: the pipes end when the child exits.
    outWrite.Close();
    errWrite.Close();
    CliRun run;
    cli_detail::ReadBoth(outRead, run.out, errRead, run.err);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            cli_detail::Fail("waitpid");
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// A test with a folder of its own, in which tavimor-cli runs.
class CliTest : public testing::Test {
protected:
    // The path of name inside the test's folder.
    std::string Path(const std::string& name) const { return folder_.File(name); }
    // Writes bytes as the whole content of name and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const { return folder_.Write(name, bytes); }
    CliRun Run(const std::vector<std::string>& args) const { return RunCli(folder_, args); }

private:
    TempFolder folder_ {"tavimor-cli"};
};

} // namespace tavimor::test
