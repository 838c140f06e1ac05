#pragma once

#include <QObject>
#include <memory>

// The Qt Test classes of platform_widget_tests. Each runs in a process of its own (the executable
// takes the class name as its first argument), so that windows and locks of one class never meet
// those of another.
namespace vsolo::testing {

std::unique_ptr<QObject> makeQtPrompterTest();
std::unique_ptr<QObject> makeSingleInstanceTest();
std::unique_ptr<QObject> makeDesktopIdleTest();
std::unique_ptr<QObject> makeTranslationsTest();

} // namespace vsolo::testing
