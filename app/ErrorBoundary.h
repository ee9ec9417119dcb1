// The one boundary at which errors of the core reach the user: every user
// action of the editor runs inside RunGuarded, so an error shows its text in
// the error box and the window stays usable in the state it had reached.
// A command that works on a file says so first (InContext), so that the box
// tells what was being done, to which file, before the bare error text.
#pragma once

#include "app/MessageBoxes.h"

#include <QString>
#include <QWidget>

#include <exception>
#include <stdexcept>
#include <utility>

namespace tavimor {

// An error with the sentence of the command it interrupted in front of it.
class ActionError : public std::runtime_error {
public:
    explicit ActionError(QString text)
        : std::runtime_error("action failed")
        , text_(std::move(text))
    {
    }
    const QString& Text() const { return text_; }

private:
    QString text_;
};

// Runs action; an error of the core escapes as an ActionError whose text is
// doing (for example "Impossible d'ouvrir « quiz.kwz » :"), a line break and
// the error's own text.
template <typename Action> void InContext(const QString& doing, Action&& action)
{
    try {
        std::forward<Action>(action)();
    } catch (const ActionError&) {
        throw;
    } catch (const std::exception& error) {
        throw ActionError(doing + QLatin1Char('\n') + ErrorText(error.what()));
    }
}

// "« name »", the way the editor's messages quote a file name.
inline QString Quoted(const QString& name)
{
    return QStringLiteral("« ") + name + QStringLiteral(" »");
}

// Runs action; an exception is shown in the error box over parent. False
// when the action ended with an error.
template <typename Action> bool RunGuarded(QWidget* parent, Action&& action)
{
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const ActionError& error) {
        ShowError(parent, error.Text());
    } catch (const std::exception& error) {
        ShowError(parent, ErrorText(error.what()));
    }
    return false;
}

// A slot that runs action inside RunGuarded (signal arguments are dropped).
template <typename Action> auto Guarded(QWidget* parent, Action action)
{
    return [parent, action = std::move(action)]() { RunGuarded(parent, action); };
}

} // namespace tavimor
