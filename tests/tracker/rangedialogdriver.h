#pragma once

// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>
#include <QTest>
#include <QTimer>

// The project headers after the Qt headers; see above.
#include "tracker/timesheet/daterangedialog.h"

#include <functional>

namespace vsolo::testing {

// Runs `action` on the date range dialog once its modal loop is running.
inline void whenShown(std::function<void(DateRangeDialog&)> action) {
    QTimer::singleShot(0, [action] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<DateRangeDialog*>(widget);
            if (dialog && dialog->isVisible()) {
                action(*dialog);
                return;
            }
        }
        QFAIL("no date range dialog is shown");
    });
}

} // namespace vsolo::testing
