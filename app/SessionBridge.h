// The editor's side of the session: the session's announcements as Qt
// signals, and the one place where what the screen holds is stored into the
// session before a command runs.
#pragma once

#include "session/QuizSession.h"

#include <QObject>

#include <functional>
#include <utility>
#include <vector>

namespace tavimor {

class TSessionBridge : public QObject, private SessionListener {
    Q_OBJECT

public:
    explicit TSessionBridge(QuizSession& session, QObject* parent = nullptr);
    ~TSessionBridge() override;

    QuizSession& Session() const { return session_; }

    // An editor whose controls may hold typed values the session has not
    // taken yet gives the function that stores them.
    void AddScreenStore(std::function<void()> store);
    // Runs a command of the window (a menu item, a tab change, closing)
    // after storing every such value, so that it works on what the author sees.
    template <typename Command> void Run(Command&& command)
    {
        StoreScreen();
        std::forward<Command>(command)();
    }

signals:
    void documentReplaced();
    void questionChanged(int n);
    // Questions were added, removed or moved; focus is the question to show.
    void questionListChanged(int focus);
    void headerChanged();
    void messagesChanged(int side);
    void pageChanged(int page);
    void layoutChanged();
    void styleChanged();
    // The file name, the modified state or the history changed.
    void stateChanged();

private:
    void StoreScreen();
    void DocumentChanged(const SessionChange& change) override;
    void StateChanged() override;

    QuizSession& session_;
    std::vector<std::function<void()>> stores_;
};

} // namespace tavimor
