#include "widgettests.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <functional>
#include <utility>
#include <vector>

// Runs the test class named by the first argument, or all of them; the remaining arguments go to
// Qt Test (test functions, -o, -v2 ...).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    using Factory = std::function<std::unique_ptr<QObject>()>;
    const std::vector<std::pair<QString, Factory>> classes{
        {QStringLiteral("QtPrompterTest"), vsolo::testing::makeQtPrompterTest},
        {QStringLiteral("SingleInstanceTest"), vsolo::testing::makeSingleInstanceTest},
        {QStringLiteral("DesktopIdleTest"), vsolo::testing::makeDesktopIdleTest},
        {QStringLiteral("TranslationsTest"), vsolo::testing::makeTranslationsTest},
    };

    QStringList arguments = QApplication::arguments();
    QString only;
    if (arguments.size() > 1 && !arguments.at(1).startsWith(QLatin1Char('-'))) {
        only = arguments.takeAt(1);
    }
    int failures = 0;
    bool ran = false;
    for (const auto& [name, make] : classes) {
        if (!only.isEmpty() && name != only) {
            continue;
        }
        ran = true;
        const std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), arguments);
    }
    if (!ran) {
        qCritical("No test class named %s", qPrintable(only));
        return 2;
    }
    return failures;
}
