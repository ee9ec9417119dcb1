// Runs the colour picker's modal loop under a test's control.
#pragma once

#include "app/ColorPicker.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace tavimor {

using PickerDrive = std::function<void(TNetCForm& form)>;

// What the picker must be before `drive` gets it: shown, or also holding the
// keyboard (for the tests that press keys or read the focus).
enum class PickerReady { Exposed, Active };

// Runs colors.Execute(parent); once the picker's modal loop runs, `drive` gets
// the form and must close it. A picker still open after ten seconds is
// rejected, so that a failing check cannot hang the program.
inline bool ExecuteDriven(
    TNetColors& colors, const PickerDrive& drive, QWidget* parent = nullptr, PickerReady ready = PickerReady::Exposed)
{
    bool driven = false;
    QTimer::singleShot(0, [&driven, drive, ready] {
        auto* form = qobject_cast<TNetCForm*>(QApplication::activeModalWidget());
        EXPECT_NE(form, nullptr) << "the picker is not the active modal window";
        if (!form)
            return;
        EXPECT_TRUE(
            ready == PickerReady::Active ? QTest::qWaitForWindowActive(form) : QTest::qWaitForWindowExposed(form));
        driven = true;
        drive(*form);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (auto* form = qobject_cast<TNetCForm*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "the picker was left open";
            form->reject();
        }
    });
    watchdog.start(10000);
    const bool accepted = colors.Execute(parent);
    EXPECT_TRUE(driven);
    return accepted;
}

} // namespace tavimor
