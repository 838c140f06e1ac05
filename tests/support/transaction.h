#pragma once

#include "core/base/timevalue.h"
#include "core/model/transactions.h"

#include <cstdint>

namespace vsolo::testing {

// A transaction of the day from start to end, filed under the two keys; neither sent nor marked,
// and without a stamp until a store takes it.
inline Transaction transaction(TimeValue day, TimeValue start, TimeValue end, std::int32_t key1 = 1,
                               std::int32_t key2 = 1, const char* description = "") {
    Transaction t;
    t.setDate(day);
    t.setStart(start);
    t.setEnd(end);
    t.setLevel1Key(key1);
    t.setLevel2Key(key2);
    t.setDescription(description);
    return t;
}

} // namespace vsolo::testing
