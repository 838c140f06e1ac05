#pragma once

#include "tests/support/bytebuilder.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The template and transaction file layouts, built field by field for tests. They are written from
// the documented layouts, not from the program's writers, so a writer that drifts is caught.
namespace vsolo::testing {

// ----- Template, version 4 -----

struct V4Item {
    std::int32_t group = 0;
    std::int32_t parent = 0;
    std::int32_t subId = 0;
    std::int32_t depth = 0;
    std::uint8_t active = 1;
    std::uint8_t level = 1;
    std::uint16_t target = 0;
    std::string name = " ";
    std::string description = " ";
    std::string third = " ";
};

inline ByteBuilder v4Header(std::string_view typeText, std::int32_t nextGroup, std::int32_t nextSub,
                            std::int32_t count) {
    ByteBuilder b;
    b.i32(4).fixed(typeText, 25).i32(nextGroup).i32(nextSub).zeros(63).i32(count);
    return b;
}

inline void addItem(ByteBuilder& b, const V4Item& item) {
    b.i32(item.group).i32(item.parent).i32(item.subId).i32(item.depth);
    b.u8(item.active).u8(item.level).u16(item.target);
    b.counted(item.name).counted(item.description).counted(item.third);
}

inline std::string v4Template(std::string_view typeText, std::int32_t nextGroup,
                              std::int32_t nextSub, const std::vector<V4Item>& items) {
    ByteBuilder b = v4Header(typeText, nextGroup, nextSub, static_cast<std::int32_t>(items.size()));
    for (const V4Item& item : items) {
        addItem(b, item);
    }
    return b;
}

// ----- Template, legacy tags 512 and 768 -----

struct LegacyItem {
    LegacyItem(std::int32_t subId_, std::string name_, std::string description_,
               std::uint8_t target_ = 0)
        : subId(subId_), name(std::move(name_)), description(std::move(description_)),
          target(target_) {}
    std::int32_t subId;
    std::string name;
    std::string description;
    std::uint8_t target;
};

inline const std::string kTag512Bytes{"\x00\x02\x00\x00", 4};
inline const std::string kTag768Bytes{"\x00\x03\x00\x00", 4};

// The first four bytes carry the format tag; the header text runs on for 58 more bytes.
inline ByteBuilder legacyHeader(std::string_view firstFour, std::string_view headerRest,
                                std::int32_t c1, std::int32_t c2) {
    ByteBuilder b;
    b.raw(firstFour).fixed(headerRest, 58).i32(c1).i32(c2);
    return b;
}

inline void addLevel1(ByteBuilder& b, const LegacyItem& item) {
    b.i32(item.subId).fixed(item.name, 21).fixed(item.description, 61).u8(item.target);
}

inline void addLevel2(ByteBuilder& b, const LegacyItem& item) {
    b.i32(item.subId).fixed(item.name, 21).fixed(item.description, 61);
}

inline std::string legacyTemplate(std::string_view firstFour, const std::vector<LegacyItem>& level1,
                                  const std::vector<LegacyItem>& level2,
                                  const std::vector<std::pair<std::int32_t, std::int32_t>>& pairs) {
    ByteBuilder b = legacyHeader(firstFour, "", static_cast<std::int32_t>(level1.size()),
                                 static_cast<std::int32_t>(level2.size()));
    for (const LegacyItem& item : level1) {
        addLevel1(b, item);
    }
    for (const LegacyItem& item : level2) {
        addLevel2(b, item);
    }
    for (const auto& [a, c] : pairs) {
        b.i32(a).i32(c);
    }
    return b;
}

// ----- Side file of tag-512 templates -----

struct SideRecord {
    std::int32_t level1SubId;
    std::uint8_t target;
    std::uint8_t active;
    std::vector<std::int32_t> assigned;
};

inline std::string sideFile(const std::vector<SideRecord>& entries) {
    ByteBuilder b;
    b.i32(static_cast<std::int32_t>(entries.size()));
    for (const SideRecord& e : entries) {
        b.i32(e.level1SubId).u8(e.target).u8(e.active).zeros(2);
        b.i32(static_cast<std::int32_t>(e.assigned.size()));
        for (std::int32_t id : e.assigned) {
            b.i32(id);
        }
    }
    return b;
}

// ----- Transaction files -----

inline std::string transactionHeader() {
    return ByteBuilder().i32(4).fixed("Transaction File", 25);
}

struct V4Record {
    V4Record(std::int32_t level1_ = 1, std::int32_t level2_ = 2, std::string date_ = "03/07/1999",
             std::string start_ = "08:00", std::string end_ = "09:00", std::int32_t sent_ = 0,
             std::string description_ = "")
        : level1(level1_), level2(level2_), date(std::move(date_)), start(std::move(start_)),
          end(std::move(end_)), sent(sent_), description(std::move(description_)) {}
    std::int32_t level1;
    std::int32_t level2;
    std::string date;
    std::string start;
    std::string end;
    std::int32_t sent;
    std::string description;
};

inline void add(ByteBuilder& b, const V4Record& r) {
    b.i32(r.level1).i32(r.level2).fixed(r.date, 11).fixed(r.start, 6).fixed(r.end, 6).i32(r.sent);
    b.counted(r.description);
}

struct LegacyRecord {
    LegacyRecord(std::string date_ = "03/07/1999", std::string start_ = "08:00",
                 std::string marks_ = "0000000000", std::string end_ = "09:00",
                 std::int32_t level1_ = 1, std::int32_t level2_ = 2, std::string description_ = "")
        : date(std::move(date_)), start(std::move(start_)), marks(std::move(marks_)),
          end(std::move(end_)), level1(level1_), level2(level2_),
          description(std::move(description_)) {}
    std::string date;
    std::string start;
    std::string marks;
    std::string end;
    std::int32_t level1;
    std::int32_t level2;
    std::string description;
};

inline void add(ByteBuilder& b, const LegacyRecord& r) {
    b.fixed(r.date, 11).fixed(r.start, 6).fixed(r.marks, 11).fixed(r.end, 6);
    b.i32(r.level1).i32(r.level2).fixed(r.description, 61);
}

template <typename Record>
std::string records(std::string_view head, const std::vector<Record>& list) {
    ByteBuilder b;
    b.raw(head);
    for (const Record& r : list) {
        add(b, r);
    }
    return b;
}

} // namespace vsolo::testing
