#include "testregistry.h"

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <cstring>

// Runs every registered test class, sorted by name, or only the one named by the first argument
// ("reporting_tests MainFormTest -v2"); the other arguments go to Qt Test. The exit code is the
// number of failed test functions over all classes.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    auto& tests = vsolo::testing::registeredTests();
    std::sort(tests.begin(), tests.end(),
              [](const auto& a, const auto& b) { return std::strcmp(a.name, b.name) < 0; });
    const char* only = nullptr;
    std::vector<char*> args(argv, argv + argc);
    if (args.size() > 1 && std::any_of(tests.begin(), tests.end(), [&](const auto& t) {
            return std::strcmp(t.name, args[1]) == 0;
        })) {
        only = args[1];
        args.erase(args.begin() + 1);
    }
    int failures = 0;
    for (const auto& test : tests) {
        if (only && std::strcmp(test.name, only) != 0) {
            continue;
        }
        const std::unique_ptr<QObject> object = test.create();
        failures += QTest::qExec(object.get(), static_cast<int>(args.size()), args.data());
    }
    return std::min(failures, 127);
}
