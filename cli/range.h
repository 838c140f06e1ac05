#pragma once

// The --from and --to options of the commands that take a range of days.

#include "core/base/timevalue.h"
#include "core/model/transactions.h"

#include <optional>

namespace vsolo {

struct Arguments;

// The --from and --to bounds of a range as given, each optional.
struct RangeBounds {
    std::optional<TimeValue> from;
    std::optional<TimeValue> to;
};

// The bounds of the command line; nothing, after the usage error, for a bad date.
std::optional<RangeBounds> rangeOptions(const Arguments& args);

// The dates a range stands for. Both bounds are taken as given (the store exchanges reversed
// ones); a bound given alone reaches past the first or last day, never across the given one; no
// bound takes all days. Without any day the given bounds, or today, stand for themselves.
struct RangeDates {
    TimeValue from;
    TimeValue to;
};

RangeDates resolveRange(const TransactionStore& store, const RangeBounds& bounds, TimeValue today);

} // namespace vsolo
