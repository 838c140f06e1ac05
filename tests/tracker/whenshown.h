#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace vsolo::testing {

// Runs `action` on the shown dialog of the class once the modal loop that shows it is running.
template <class Dialog>
void whenShown(std::function<void(Dialog&)> action) {
    QTimer::singleShot(0, [action] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<Dialog*>(widget);
            if (dialog && dialog->isVisible()) {
                action(*dialog);
                return;
            }
        }
        QFAIL("the dialog is not shown");
    });
}

} // namespace vsolo::testing
