#pragma once

#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "core/settingsstore.h"

#include <cstdint>
#include <string_view>

namespace vsolo {

// The purposes that remember a date range; all report and graph views share "Reports".
namespace daterangekey {
inline constexpr std::string_view kTimeSheet = "TimeSheet";
inline constexpr std::string_view kReports = "Reports";
inline constexpr std::string_view kSend = "Send";
} // namespace daterangekey

// Half the width of the range a purpose has before the user confirms one: 15 days.
inline constexpr std::int32_t kDefaultRangeHalfWidth = 15 * TimeValue::kDay;

// A period of whole days. A fixed range keeps its dates; a moving one keeps the distance of both
// ends from the current day.
struct DateRange {
    TimeValue from;
    TimeValue to;
    bool fixed = true;

    // The same range with from <= to.
    DateRange ordered() const;
    friend bool operator==(const DateRange&, const DateRange&) = default;
};

// The range stored for a purpose under key + "FromDate", "ToDate" and "Save" (section
// "UserConfig"). "Save" is 0 for a fixed range, else the date on which a moving range was
// confirmed, and a moving range is shifted by the days since then. With nothing stored the range is
// today - 15 days to today + 15 days and fixed, computed afresh each day.
DateRange loadDateRange(const SettingsStore& store, std::string_view key, const Clock& clock);

// Stores a confirmed range, ordered so that from <= to; a moving range is stamped with today's
// date. False when the store refused a write.
bool storeDateRange(SettingsStore& store, std::string_view key, const DateRange& range,
                    const Clock& clock);

} // namespace vsolo
