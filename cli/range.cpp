#include "cli/range.h"

#include "cli/command.h"

#include <algorithm>
#include <utility>

namespace vsolo {

bool rangeOptions(const Arguments& args, std::optional<TimeValue>& from,
                  std::optional<TimeValue>& to, std::string& error) {
    for (auto [name, bound] : {std::pair{"--from", &from}, std::pair{"--to", &to}}) {
        const auto it = args.options.find(name);
        if (it == args.options.end()) {
            continue;
        }
        TimeValue value;
        if (!value.parseDate(it->second)) {
            error = "invalid date '" + it->second + "' for " + name + " (expected M/D/YYYY)";
            return false;
        }
        *bound = value;
    }
    return true;
}

RangeDates resolveRange(const TransactionStore& store, std::optional<TimeValue> from,
                        std::optional<TimeValue> to, TimeValue today) {
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
