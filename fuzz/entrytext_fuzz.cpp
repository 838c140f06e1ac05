// Reads what the user types into the entry fields and what the files hold as dates and times: the
// dialogs' dates, times of day and durations (a duration is typed as a time), the fixed and loose
// date and time texts, and amounts. The first byte chooses the reader, the second the day that
// counts as today; the rest is the text. A time is a time of day in whole minutes, a date has no
// time of day, a fixed text reads back as what gave it, and an amount is a finite number.
#include "core/base/datetext.h"
#include "core/base/timevalue.h"
#include "core/entrytext.h"
#include "fuzz/fuzzinput.h"
#include "reporting/data/moneytext.h"
#include "reporting/data/reportsettings.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace vsolo;
using fuzz::require;

void requireTimeOfDay(std::optional<TimeValue> time) {
    if (time) {
        require(time->seconds() >= 0 && time->seconds() <= TimeValue::kLatestTime);
        require(time->seconds() % TimeValue::kMinute == 0);
        require(readFixedTime(fixedTimeText(*time)) == time);
    }
}

void requireDate(std::optional<TimeValue> date) {
    if (date) {
        require(date->timeOfDay() == TimeValue(0));
        require(readFixedDate(fixedDateText(*date)) == date);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t reader = input.byte();
    // Days from 1 January 1970 up to about 2040.
    const TimeValue today =
        TimeValue::fromParts((input.byte() | std::int32_t{input.byte()} << 8) % 25000, 0, 0, 0);
    const std::string_view text = input.rest();
    switch (reader % 6) {
    case 0:
        requireDate(parseDateEntry(text, today));
        break;
    case 1:
        requireTimeOfDay(parseTimeEntry(text));
        break;
    case 2:
        requireDate(readDate(text));
        requireDate(readFixedDate(text));
        if (isFixedDateText(text)) {
            require(text.size() == 10);
        }
        break;
    case 3:
        requireTimeOfDay(readTime(text));
        requireTimeOfDay(readFixedTime(text));
        break;
    default:
        if (const std::optional<double> amount = reporting::parseNumber(text); amount) {
            require(std::isfinite(*amount));
            // A figure shown reads back as the figure summed, to the cent; from 0 up to below
            // 0.095 the reports show 0.00, and past ten whole digits 14 digits round the cents.
            const std::string shown = reporting::moneyText(*amount);
            if (std::abs(*amount) < 1e10 && !(*amount >= 0.0 && *amount < 0.095)) {
                const std::optional<double> back = reporting::parseNumber(shown);
                require(back && std::abs(*back - *amount) <= 0.0051);
            }
            const std::string prefixed = reporting::moneyText(*amount, "$");
            require(shown == "0.00"
                        ? prefixed == shown
                        : prefixed == (*amount < 0 ? "-$" + shown.substr(1) : "$" + shown));
        }
        break;
    }
    return 0;
}
