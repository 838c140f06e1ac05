#pragma once

#include "core/base/timevalue.h"
#include "core/base/usertext.h"
#include "core/model/templatefile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vsolo {

// Texts every report and graph shares.
namespace reporttext {
inline constexpr const char* kUnknownCategories = VSOLO_TR("Unknown categories");
inline constexpr const char* kSmallCategories = VSOLO_TR("Categories < 0.1%");
} // namespace reporttext

// The time of a date range per level item, gathered in one pass over the range's transactions.
// Items are matched to transactions by their keys; when several items of a list hold the same key
// (only in a damaged file), the first one gets the time, as a transaction names its first item,
// so that no minute is counted twice.
class RangeTotals {
public:
    // Works out the error marks of the range's days again first: a transaction file keeps none,
    // and time that overlaps other time must count nothing. From and to are exchanged when
    // reversed.
    static RangeTotals gather(TemplateFile& file, TimeValue from, TimeValue to);

    const TemplateFile& file() const { return *m_file; }
    TimeValue from() const { return m_from; }
    TimeValue to() const { return m_to; }
    // Whether any day of the transaction list lies in the range.
    bool hasDays() const { return m_hasDays; }
    // Seconds, transactions in error counting nothing.
    std::int64_t grandTotal() const { return m_pairs.all(); }
    std::int64_t level1(const LevelItem& item) const;
    // The time booked on the level-2 item under the level-1 item.
    std::int64_t level2(const LevelItem& level1, const LevelItem& level2) const;
    // The time booked on the level-2 item under any level-1 item (legacy templates only: in a
    // version-4 template a level-2 item belongs to one level-1 item).
    std::int64_t level2Anywhere(const LevelItem& level2) const;

private:
    bool ownsLevel1Key(const LevelItem& item) const;
    bool ownsLevel2Key(std::int32_t group, const LevelItem& item) const;

    const TemplateFile* m_file = nullptr;
    TimeValue m_from;
    TimeValue m_to;
    bool m_hasDays = false;
    KeyPairTotals m_pairs;
    std::unordered_map<std::int32_t, std::int64_t> m_byLevel1;
    std::unordered_map<std::int32_t, std::int64_t> m_byLevel2;
};

// A share of the grand total in single precision: whole minutes over whole minutes, 0 when the
// grand total holds no whole minute.
float minuteShare(std::int64_t seconds, std::int64_t grandTotal);

// "%d:%02d": whole hours, then the minutes of the hour left.
std::string hoursText(std::int64_t seconds);

// The first `count` characters of a UTF-8 text.
std::string_view firstCharacters(std::string_view text, std::size_t count);

// A printf-style text of one number.
std::string formatNumber(const char* format, double value);

} // namespace vsolo
