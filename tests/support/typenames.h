#pragma once

#include <string>

namespace vsolo::testing {

// Names the instances of a typed test after each type's kName, so that a test's name says which
// layout or variant it ran over ("TemplateLayoutTest/Tag512.WrittenBackByteIdentical").
struct NamedByKName {
    template <typename T>
    static std::string GetName(int) {
        return T::kName;
    }
};

} // namespace vsolo::testing
