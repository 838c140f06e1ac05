#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vsolo {

// "%s", "%1", "%2"... filled in order or by number; "%%" is a single "%".
std::string fillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> values);

} // namespace vsolo
