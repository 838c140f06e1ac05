#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vsolo::testing {

// The parts one after the other, appended to one string. Used where a literal would be put in
// front of a temporary string ("m" + std::to_string(i)): GCC 12 takes that sum, inlined into an
// optimised build, for an overlapping copy (-Wrestrict), which stops a build with warnings as
// errors.
inline std::string joined(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (const std::string_view part : parts) {
        size += part.size();
    }
    std::string text;
    text.reserve(size);
    for (const std::string_view part : parts) {
        text += part;
    }
    return text;
}

} // namespace vsolo::testing
