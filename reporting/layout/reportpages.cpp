#include "reporting/layout/reportpages.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>

namespace vsolo::reporting {

namespace {

std::int32_t clamp32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::tm localDate(std::int64_t seconds) {
    const std::time_t moment = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (::localtime_r(&moment, &local) == nullptr) {
        local = std::tm{};
        local.tm_year = 70;
        local.tm_mday = 1;
        local.tm_wday = 4;
    }
    return local;
}

std::int64_t localMoment(std::tm date, int hour, int minute, int second) {
    date.tm_hour = hour;
    date.tm_min = minute;
    date.tm_sec = second;
    date.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&date));
}

} // namespace

int PageGeometry::rowsPerPage(ReportKind kind) const {
    const int rows = (bodyTop(kind) - footerLine()) / kLineHeight;
    return rows - (kind == ReportKind::Expenses ? 4 : 3);
}

ReportPeriod wholeDays(std::int64_t fromTime, std::int64_t toTime) {
    return {clamp32(localMoment(localDate(fromTime), 0, 0, 0)),
            clamp32(localMoment(localDate(toTime), 23, 59, 59))};
}

std::string longDateText(std::int64_t seconds) {
    static constexpr const char* kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};
    const std::tm date = localDate(seconds);
    char day[8];
    std::snprintf(day, sizeof day, "%02d", date.tm_mday);
    return std::string(kDays[date.tm_wday % 7]) + ", " + kMonths[date.tm_mon % 12] + " " + day +
           ", " + std::to_string(date.tm_year + 1900);
}

std::vector<ReportPage> layoutReport(const ReportingData&, const ReportRequest&,
                                     const PageGeometry&) {
    return {};
}

} // namespace vsolo::reporting
