#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace vsolo::testing {

// The Qt Test classes of this executable. A test file defines its QObject class, registers it with
// VSOLO_REGISTER_TEST_CLASS(ClassName) after the definition and ends with #include "<file>.moc";
// main() runs every registered class. The file is then listed in tracker_tests. A class whose
// windows or event loop must not meet those of the others registers with
// VSOLO_REGISTER_OWN_PROCESS_TEST_CLASS and runs only when named, in a process of its own; it is
// then listed by name in tests/CMakeLists.txt too.
struct RegisteredTest {
    const char* name;
    std::function<std::unique_ptr<QObject>()> create;
    bool ownProcess = false;
};

inline std::vector<RegisteredTest>& registeredTests() {
    static std::vector<RegisteredTest> tests;
    return tests;
}

inline bool registerTest(const char* name, std::function<std::unique_ptr<QObject>()> create,
                         bool ownProcess = false) {
    registeredTests().push_back({name, std::move(create), ownProcess});
    return true;
}

} // namespace vsolo::testing

#define VSOLO_REGISTER_TEST_CLASS(Class)                                                           \
    [[maybe_unused]] static const bool registered##Class = ::vsolo::testing::registerTest(         \
        #Class, [] { return std::unique_ptr<QObject>(std::make_unique<Class>()); })

#define VSOLO_REGISTER_OWN_PROCESS_TEST_CLASS(Class)                                               \
    [[maybe_unused]] static const bool registered##Class = ::vsolo::testing::registerTest(         \
        #Class, [] { return std::unique_ptr<QObject>(std::make_unique<Class>()); }, true)
