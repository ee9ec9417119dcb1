// The one boundary at which errors of the core reach the user: every user
// action of the editor runs inside RunGuarded, so an error shows its text in
// the error box and the window stays usable in the state it had reached.
#pragma once

#include "app/MessageBoxes.h"

#include <QWidget>

#include <exception>
#include <utility>

namespace tavimor {

// Runs action; an exception is shown in the error box over parent. False
// when the action ended with an error.
template <typename Action> bool RunGuarded(QWidget* parent, Action&& action)
{
    try {
        std::forward<Action>(action)();
        return true;
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
