#include "cli/range.h"

#include "cli/command.h"
#include "cli/commandline.h"

#include <algorithm>
#include <string>
#include <utility>

namespace vsolo {

std::optional<RangeBounds> rangeOptions(const Arguments& args) {
    RangeBounds bounds;
    for (auto [name, bound] : {std::pair{"--from", &bounds.from}, std::pair{"--to", &bounds.to}}) {
        const auto it = args.options.find(name);
        if (it == args.options.end()) {
            continue;
        }
        TimeValue value;
        if (!value.parseDate(it->second)) {
            usageError("invalid date '" + it->second + "' for " + name + " (expected M/D/YYYY)");
            return std::nullopt;
        }
        *bound = value;
    }
    return bounds;
}

RangeDates resolveRange(const TransactionStore& store, const RangeBounds& bounds, TimeValue today) {
    const auto& [from, to] = bounds;
    if (store.empty()) {
        return {from.value_or(to.value_or(today)), to.value_or(from.value_or(today))};
    }
    const TimeValue first = store.day(0)->date();
    const TimeValue last = store.day(store.dayCount() - 1)->date();
    if (from && to) {
        return {*from, *to};
    }
    if (from) {
        return {*from, std::max(*from, last)};
    }
    if (to) {
        return {std::min(*to, first), *to};
    }
    return {first, last};
}

} // namespace vsolo
