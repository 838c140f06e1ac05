#include "reporting/data/reportsettings.h"

#include "core/base/placeholders.h"
#include "core/base/usertext.h"
#include "reporting/data/moneytext.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace vsolo::reporting {

namespace {

// The marked texts come first: lupdate puts a text marked after a declaration of a std:: type
// into the context "std".

// %1 stands for the stored text.
constexpr const char* kUnreadableTaxText =
    VSOLO_TR("The tax rate stored in the settings, \"%1\", is not a number.  No invoice is made "
             "until a tax rate is entered in Preferences.");

// The tracker keeps its titles in buffers of 255 bytes with the terminating zero.
constexpr std::size_t kTrackerTextLimit = 254;

std::string text(const SettingsStore& store, std::string_view name, std::string fallback) {
    return store.readText(kReportSection, name).value_or(std::move(fallback));
}

// At most `limit` bytes, never cutting a UTF-8 sequence in two.
std::string cutUtf8(std::string value, std::size_t limit) {
    if (value.size() <= limit) {
        return value;
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80) {
        --end;
    }
    value.resize(end);
    return value;
}

std::int64_t secondsOrNow(const SettingsStore& store, std::string_view name, const Clock& clock) {
    const std::string stored = text(store, name, "0");
    std::int64_t seconds = 0;
    const auto [end, error] =
        std::from_chars(stored.data(), stored.data() + stored.size(), seconds);
    if (error != std::errc() || end != stored.data() + stored.size() || seconds == 0) {
        // The clock reads local wall-clock time; the period is kept in real seconds since 1970.
        return localMoment(clock.now());
    }
    return seconds;
}

} // namespace

ReportSettings readReportSettings(const SettingsStore& own, const SettingsStore& tracker,
                                  const Clock& clock) {
    ReportSettings s;
    s.company = text(own, "Company", s.company);
    s.street = text(own, "Street", s.street);
    s.city = text(own, "City", s.city);
    s.state = text(own, "State", s.state);
    s.zip = text(own, "Zip", s.zip);
    s.terms = text(own, "Terms", s.terms);
    s.soldTo = text(own, "Description", s.soldTo);
    const std::string tax = text(own, "Tax", "0");
    if (const std::optional<double> percent = parseNumber(tax)) {
        s.taxPercent = storedTaxPercent(*percent);
    } else {
        s.unreadableTax = tax;
    }
    s.favoriteReport = own.readInt(kReportSection, "FavoriteReport").value_or(0);
    s.fromTime = secondsOrNow(own, "FromTime", clock);
    s.toTime = secondsOrNow(own, "ToTime", clock);
    s.clientTerm = text(own, "ClientDef", s.clientTerm);
    s.rateTerm = text(own, "RateDef", s.rateTerm);
    s.expenseTerm = text(own, "ExpenseDef", s.expenseTerm);
    s.level1Title = cutUtf8(text(tracker, "Level1Def", s.level1Title), kTrackerTextLimit);
    s.level2Title = cutUtf8(text(tracker, "Level2Def", s.level2Title), kTrackerTextLimit);
    return s;
}

bool writeReportSettings(const ReportSettings& s, SettingsStore& own) {
    bool ok = true;
    const auto put = [&](std::string_view name, std::string_view value) {
        ok = own.writeText(kReportSection, name, value) && ok;
    };
    put("ClientDef", s.clientTerm);
    put("RateDef", s.rateTerm);
    put("ExpenseDef", s.expenseTerm);
    put("Company", s.company);
    put("Street", s.street);
    put("City", s.city);
    put("State", s.state);
    put("Zip", s.zip);
    ok = own.writeInt(kReportSection, "FavoriteReport", s.favoriteReport) && ok;
    put("Terms", s.terms);
    put("Description", s.soldTo);
    put("Tax", storedTaxText(s));
    put("FromTime", std::to_string(s.fromTime));
    put("ToTime", std::to_string(s.toTime));
    return ok;
}

double storedTaxPercent(double percent) {
    // Past the largest double the text would not read back; such a rate is kept as it is.
    return parseNumber(moneyText(percent)).value_or(percent);
}

std::string storedTaxText(const ReportSettings& settings) {
    return settings.unreadableTax ? *settings.unreadableTax : moneyText(settings.taxPercent);
}

std::string unreadableTaxText(std::string_view stored) {
    return fillPlaceholders(tx(kUnreadableTaxText), {stored});
}

std::int64_t localMoment(TimeValue value) {
    const CalendarTime local = value.toCalendar();
    std::tm parts{};
    parts.tm_year = local.year - 1900;
    parts.tm_mon = local.month - 1;
    parts.tm_mday = local.day;
    parts.tm_hour = local.hour;
    parts.tm_min = local.minute;
    parts.tm_sec = local.second;
    parts.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&parts));
}

std::optional<double> parseNumber(std::string_view input) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!input.empty() && blank(input.front())) {
        input.remove_prefix(1);
    }
    while (!input.empty() && blank(input.back())) {
        input.remove_suffix(1);
    }
    if (!input.empty() && input.front() == '+') {
        input.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(input.data(), input.data() + input.size(), value);
    if (input.empty() || error != std::errc() || end != input.data() + input.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace vsolo::reporting
