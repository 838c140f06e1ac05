#pragma once

#include "core/base/clock.h"
#include "core/settingsstore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vsolo::reporting {

// The reporting tool's own settings live in this section of its own store; the tracker's titles
// and template location are read from the same section of the tracker's store, never written.
inline constexpr char kReportSection[] = "UserConfig";

// Everything the tool keeps between runs but the window placement: the invoice's address, tax
// and terms, the report period and favourite, and the tool's three terms. Texts are UTF-8.
struct ReportSettings {
    std::string company = "Company Name";
    std::string street = "Street Address";
    std::string city = "City";
    std::string state = "State";
    std::string zip = "Zip";
    std::string terms = "Terms";
    std::string soldTo = "Description"; // may hold line breaks
    // The tax rate as it is stored: two decimals (storedTaxPercent), so that the label, the tax
    // and the next start all use the same rate.
    double taxPercent = 0.0;
    // The stored "Tax" text when it is not a number. No invoice is made then, and the text is
    // written back as it was: nothing takes it as 0.
    std::optional<std::string> unreadableTax;
    std::int32_t favoriteReport = 0;
    // Seconds since 1970 UTC.
    std::int64_t fromTime = 0;
    std::int64_t toTime = 0;
    std::string clientTerm = "Clients";
    std::string rateTerm = "Rates";
    std::string expenseTerm = "Expenses";
    // The tracker's level titles.
    std::string level1Title = "Project";
    std::string level2Title = "Activity";
};

// Each value with its default when missing; a period end stored as 0 (or not a number) becomes
// the clock's current time. A tax rate stored with more decimals is taken as it would be stored.
ReportSettings readReportSettings(const SettingsStore& own, const SettingsStore& tracker,
                                  const Clock& clock);

// Writes every value but the two titles to the tool's own store; false when any write failed
// (the others are still tried).
bool writeReportSettings(const ReportSettings& settings, SettingsStore& own);

// The moment of a local wall-clock reading (as the clock gives it) in seconds since 1970 UTC, the
// daylight-saving state worked out by the system for that date.
std::int64_t localMoment(TimeValue value);

// The rate a tax rate in percent reads back as once stored as money text without prefix: 8.88
// for 8.875, 0 below 0.095.
double storedTaxPercent(double percent);

// The "Tax" text as it is written: the stored rate's text, or the unreadable text as it was.
std::string storedTaxText(const ReportSettings& settings);

// What the user is told of a stored tax rate that is not a number.
std::string unreadableTaxText(std::string_view stored);

// A decimal number as the user typed it (blanks around it allowed), in any locale; nothing when
// the text is not a finite number.
std::optional<double> parseNumber(std::string_view text);

} // namespace vsolo::reporting
