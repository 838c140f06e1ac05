#include "core/daterange.h"

#include "core/settings.h"

#include <string>
#include <utility>

namespace vsolo {

namespace {

constexpr std::string_view kFromSuffix = "FromDate";
constexpr std::string_view kToSuffix = "ToDate";
constexpr std::string_view kSaveSuffix = "Save";

std::string nameOf(std::string_view key, std::string_view suffix) {
    std::string name(key);
    name += suffix;
    return name;
}

TimeValue readDate(const SettingsStore& store, std::string_view key, std::string_view suffix,
                   TimeValue defaultValue) {
    const auto seconds = store.readInt(kUserConfigSection, nameOf(key, suffix));
    return seconds ? TimeValue(*seconds) : defaultValue;
}

} // namespace

DateRange DateRange::ordered() const {
    DateRange range = *this;
    if (range.from > range.to) {
        std::swap(range.from, range.to);
    }
    return range;
}

DateRange loadDateRange(const SettingsStore& store, std::string_view key, const Clock& clock) {
    const TimeValue today = clock.today();
    const TimeValue halfWidth(kDefaultRangeHalfWidth);
    DateRange range;
    range.from = readDate(store, key, kFromSuffix, today - halfWidth);
    range.to = readDate(store, key, kToSuffix, today + halfWidth);
    const TimeValue saved = readDate(store, key, kSaveSuffix, TimeValue(0));
    range.fixed = saved == TimeValue(0);
    if (!range.fixed) {
        range.from = today - (saved - range.from);
        range.to = today + (range.to - saved);
    }
    return range;
}

bool storeDateRange(SettingsStore& store, std::string_view key, const DateRange& range,
                    const Clock& clock) {
    const DateRange stored = range.ordered();
    const TimeValue saved = stored.fixed ? TimeValue(0) : clock.today();
    return store.writeInt(kUserConfigSection, nameOf(key, kFromSuffix), stored.from.seconds()) &&
           store.writeInt(kUserConfigSection, nameOf(key, kToSuffix), stored.to.seconds()) &&
           store.writeInt(kUserConfigSection, nameOf(key, kSaveSuffix), saved.seconds());
}

} // namespace vsolo
