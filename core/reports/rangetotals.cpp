#include "core/reports/rangetotals.h"

#include "core/base/bytes.h"

#include <cstdio>
#include <utility>

namespace vsolo {

RangeTotals RangeTotals::gather(TemplateFile& file, TimeValue from, TimeValue to) {
    if (to < from) {
        std::swap(from, to);
    }
    RangeTotals totals;
    totals.m_file = &file;
    totals.m_from = from;
    totals.m_to = to;
    TransactionStore& store = file.store();
    const TransactionStore::DayRange days = store.dayRange(from, to);
    totals.m_hasDays = !days.empty();
    store.markErrors(days);
    totals.m_pairs = store.totalsByKeys(days);
    totals.m_pairs.forEach([&totals](std::int32_t key1, std::int32_t key2, std::int64_t seconds) {
        totals.m_byLevel1[key1] += seconds;
        totals.m_byLevel2[key2] += seconds;
    });
    return totals;
}

bool RangeTotals::ownsLevel1Key(const LevelItem& item) const {
    const bool tree = m_file->isTreeShape();
    const LevelList& list = m_file->level1();
    const std::ptrdiff_t place = list.placeOf(tree ? LevelList::Key::Group : LevelList::Key::SubId,
                                              item.groupNumber(), item.subId());
    return place >= 0 && list.at(static_cast<std::size_t>(place)) == &item;
}

bool RangeTotals::ownsLevel2Key(std::int32_t group, const LevelItem& item) const {
    const bool tree = m_file->isTreeShape();
    const LevelList& list = m_file->level2();
    const std::ptrdiff_t place = list.placeOf(
        tree ? LevelList::Key::GroupAndSubId : LevelList::Key::SubId, group, item.subId());
    return place >= 0 && list.at(static_cast<std::size_t>(place)) == &item;
}

std::int64_t RangeTotals::level1(const LevelItem& item) const {
    if (!ownsLevel1Key(item)) {
        return 0;
    }
    const auto found = m_byLevel1.find(m_file->isTreeShape() ? item.groupNumber() : item.subId());
    return found == m_byLevel1.end() ? 0 : found->second;
}

std::int64_t RangeTotals::level2(const LevelItem& level1, const LevelItem& level2) const {
    const bool tree = m_file->isTreeShape();
    if (!ownsLevel1Key(level1) || (tree && level2.groupNumber() != level1.groupNumber()) ||
        !ownsLevel2Key(level1.groupNumber(), level2)) {
        return 0;
    }
    return m_pairs.of(tree ? level1.groupNumber() : level1.subId(), level2.subId());
}

std::int64_t RangeTotals::level2Anywhere(const LevelItem& level2) const {
    if (!ownsLevel2Key(level2.groupNumber(), level2)) {
        return 0;
    }
    const auto found = m_byLevel2.find(level2.subId());
    return found == m_byLevel2.end() ? 0 : found->second;
}

float minuteShare(std::int64_t seconds, std::int64_t grandTotal) {
    const std::int64_t minutes = grandTotal / 60;
    if (minutes <= 0) {
        return 0.0f;
    }
    return static_cast<float>(seconds / 60) / static_cast<float>(minutes);
}

std::string hoursText(std::int64_t seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds % 3600 / 60));
    return text;
}

std::string_view firstCharacters(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
        nextCodePoint(text, pos);
    }
    return text.substr(0, pos);
}

std::string formatNumber(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace vsolo
