#include "core/base/placeholders.h"

#include <vector>

namespace vsolo {

std::string fillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> values) {
    const std::vector<std::string_view> args(values);
    std::string out;
    std::size_t nextPlain = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            const char c = pattern[i + 1];
            if (c == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (c == 's' && nextPlain < args.size()) {
                out += args[nextPlain++];
                ++i;
                continue;
            }
            if (c >= '1' && c <= '9' && static_cast<std::size_t>(c - '1') < args.size()) {
                out += args[static_cast<std::size_t>(c - '1')];
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

} // namespace vsolo
