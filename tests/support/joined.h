#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vsolo::testing {

// The parts appended to one string, for tests that would put a literal in front of a temporary
// ("m" + std::to_string(i)): GCC 12 takes that sum, inlined into an optimised build, for an
// overlapping copy (-Wrestrict), which stops a build with warnings as errors.
inline std::string joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) {
        text += part;
    }
    return text;
}

} // namespace vsolo::testing
