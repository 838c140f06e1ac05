#include "core/model/templateformat.h"

#include "core/base/bytes.h"
#include "core/base/placeholders.h"

namespace vsolo {

namespace {

// The smallest version-4 item record: four numbers, two bytes, a 16-bit target, three lengths.
constexpr std::size_t kMinVersion4Record = 4 * 4 + 1 + 1 + 2 + 3 * 4;
constexpr std::size_t kLegacyLevel2Record = 4 + kLegacyNameSize + kLegacyDescriptionSize;
constexpr std::size_t kLegacyLevel1Record = kLegacyLevel2Record + 1;

std::string recordText(const char* what, std::size_t index) {
    return std::string(what) + " " + std::to_string(index + 1);
}

bool readCounted(ByteReader& in, std::string& out, std::string& detail, const std::string& where) {
    switch (in.readCountedText(kTemplateTextLimit, out)) {
    case ByteReader::CountedText::Ok:
        return true;
    case ByteReader::CountedText::TooLong:
        detail = "a text of " + where + " is longer than " + std::to_string(kTemplateTextLimit) +
                 " bytes";
        return false;
    case ByteReader::CountedText::Truncated:
        break;
    }
    detail = where + " is cut short by the end of the file";
    return false;
}

ParseResult parseVersion4(ByteReader& in, TemplateData& out) {
    std::int32_t count = 0;
    if (!in.skip(4) || !in.readFixedText(kTypeTextSize, out.typeText) ||
        !in.readI32(out.nextGroupNumber) || !in.readI32(out.nextSubId) || !in.skip(63) ||
        !in.readI32(count)) {
        return ParseResult::failure("the header is cut short by the end of the file");
    }
    out.managed = out.typeText == kManagedTypeText;
    if (count < 0 || static_cast<std::size_t>(count) > in.remaining() / kMinVersion4Record) {
        return ParseResult::failure("it claims " + std::to_string(count) +
                                    " items, more than the file can hold");
    }
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string where = recordText("item", static_cast<std::size_t>(i));
        std::int32_t group = 0, parent = 0, subId = 0, depth = 0;
        std::uint8_t active = 0, levelByte = 0;
        std::uint16_t target = 0;
        if (!in.readI32(group) || !in.readI32(parent) || !in.readI32(subId) || !in.readI32(depth) ||
            !in.readU8(active) || !in.readU8(levelByte) || !in.readU16(target)) {
            return ParseResult::failure(where + " is cut short by the end of the file");
        }
        std::string name, description, third;
        std::string detail;
        if (!readCounted(in, name, detail, where) || !readCounted(in, description, detail, where) ||
            !readCounted(in, third, detail, where)) {
            return ParseResult::failure(detail);
        }
        LevelItem item;
        item.setGroupNumber(group);
        item.setParentSubId(parent);
        item.setDepth(depth);
        item.setActive(active != 0);
        item.setTarget(static_cast<std::uint8_t>(target > 100 ? 100 : target));
        item.setName(std::move(name));
        item.setDescription(std::move(description));
        item.setThirdText(std::move(third));
        // The depth decides the level; the level byte is not trusted.
        if (depth == 0) {
            item.setSubId(0);
            item.setLevel(1);
            out.level1.push_back(std::move(item));
        } else {
            item.setSubId(subId);
            item.setLevel(2);
            out.level2.push_back(std::move(item));
        }
    }
    // Whatever follows the counted items is not read, and the next save leaves it out.
    return {};
}

bool readLegacyRecord(ByteReader& in, bool level1, LevelItem& item) {
    std::int32_t subId = 0;
    std::string name, description;
    std::uint8_t target = 0;
    if (!in.readI32(subId) || !in.readFixedText(kLegacyNameSize, name) ||
        !in.readFixedText(kLegacyDescriptionSize, description) || (level1 && !in.readU8(target))) {
        return false;
    }
    item.setSubId(subId);
    item.setName(std::move(name));
    item.setDescription(std::move(description));
    item.setTarget(target > 100 ? 100 : target);
    item.setLevel(level1 ? 1 : 2);
    return true;
}

ParseResult parseLegacy(ByteReader& in, TemplateData& out) {
    std::int32_t count1 = 0, count2 = 0;
    if (!in.readU8(out.legacyFlagByte) || !in.readFixedText(kLegacyHeaderSize, out.typeText) ||
        !in.readI32(count1) || !in.readI32(count2)) {
        return ParseResult::failure("the header is cut short by the end of the file");
    }
    out.managed = out.legacyFlagByte != 0;
    const std::size_t need1 = static_cast<std::size_t>(count1 < 0 ? 0 : count1);
    const std::size_t need2 = static_cast<std::size_t>(count2 < 0 ? 0 : count2);
    if (count1 < 0 || count2 < 0 || need1 > in.remaining() / kLegacyLevel1Record ||
        need2 > (in.remaining() - need1 * kLegacyLevel1Record) / kLegacyLevel2Record) {
        return ParseResult::failure("it claims " + std::to_string(count1) + " and " +
                                    std::to_string(count2) + " items, more than the file can hold");
    }
    for (std::size_t i = 0; i < need1 + need2; ++i) {
        LevelItem item;
        readLegacyRecord(in, i < need1, item); // the sizes were checked above
        (i < need1 ? out.level1 : out.level2).push_back(std::move(item));
    }
    // Assignment pairs up to the end; a tail shorter than one pair is ignored, as it always was.
    std::int32_t a = 0, b = 0;
    while (in.remaining() >= 8 && in.readI32(a) && in.readI32(b)) {
        out.assignments.emplace_back(a, b);
    }
    return {};
}

} // namespace

TemplateFormat recognizeTemplateFormat(std::string_view firstBytes) {
    if (firstBytes.size() < 4) {
        return TemplateFormat::Tag768;
    }
    const std::int32_t tag = loadI32(firstBytes.data());
    if (tag == 4) {
        return TemplateFormat::Version4;
    }
    if (tag == 512 || firstBytes.substr(0, 4) == "ATra") {
        return TemplateFormat::Tag512;
    }
    return TemplateFormat::Tag768;
}

ParseResult parseTemplate(std::string_view bytes, TemplateData& out) {
    out = TemplateData{};
    if (bytes.empty()) {
        return {};
    }
    out.format = recognizeTemplateFormat(bytes);
    ByteReader in(bytes);
    ParseResult result =
        out.format == TemplateFormat::Version4 ? parseVersion4(in, out) : parseLegacy(in, out);
    if (!result.ok) {
        out = TemplateData{};
    }
    return result;
}

namespace {

ParseResult readSideEntries(std::string_view bytes, std::vector<SideEntry>& out) {
    ByteReader in(bytes);
    std::int32_t count = 0;
    if (!in.readI32(count)) {
        return ParseResult::failure("the entry count is cut short by the end of the file");
    }
    if (count < 0 || static_cast<std::size_t>(count) > in.remaining() / 12) {
        return ParseResult::failure("it claims " + std::to_string(count) +
                                    " entries, more than the file can hold");
    }
    for (std::int32_t i = 0; i < count; ++i) {
        SideEntry entry;
        std::uint8_t active = 0;
        std::int32_t assigned = 0;
        if (!in.readI32(entry.level1SubId) || !in.readU8(entry.target) || !in.readU8(active) ||
            !in.skip(2) || !in.readI32(assigned)) {
            return ParseResult::failure(recordText("entry", static_cast<std::size_t>(i)) +
                                        " is cut short by the end of the file");
        }
        entry.active = active != 0;
        if (assigned < 0 || static_cast<std::size_t>(assigned) > in.remaining() / 4) {
            return ParseResult::failure(recordText("entry", static_cast<std::size_t>(i)) +
                                        " claims more assignments than the file can hold");
        }
        entry.assigned.resize(static_cast<std::size_t>(assigned));
        for (std::int32_t& id : entry.assigned) {
            in.readI32(id);
        }
        out.push_back(std::move(entry));
    }
    // As in the template, bytes after the counted entries are not read.
    return {};
}

} // namespace

ParseResult parseSideFile(std::string_view bytes, std::vector<SideEntry>& out) {
    out.clear();
    ParseResult result = readSideEntries(bytes, out);
    if (!result.ok) {
        out.clear(); // the entries before the damage are no more to be trusted than the rest
    }
    return result;
}

TextCapacity levelTextCapacity(TemplateFormat format, LevelText text) {
    if (format == TemplateFormat::Version4) {
        return TextCapacity::countedText(kTemplateTextLimit);
    }
    switch (text) {
    case LevelText::Name:
        return TextCapacity::fixedField(kLegacyNameSize);
    case LevelText::Description:
        return TextCapacity::fixedField(kLegacyDescriptionSize);
    case LevelText::Third:
        break;
    }
    return {};
}

std::string shownLevelTitle(const LevelList& list) {
    return list.title().empty()
               ? fillPlaceholders(tx(kLevelItemText), {std::to_string(list.level())})
               : list.title();
}

std::optional<std::string> unstorableTemplateText(TemplateFormat format, const LevelList& level1,
                                                  const LevelList& level2) {
    struct Text {
        LevelText which;
        const char* what;
        const std::string& (LevelItem::*get)() const;
    };
    const Text texts[] = {{LevelText::Name, kNameHoldsText, &LevelItem::name},
                          {LevelText::Description, kDescriptionHoldsText, &LevelItem::description},
                          {LevelText::Third, kThirdTextHoldsText, &LevelItem::thirdText}};
    for (const LevelList* list : {&level1, &level2}) {
        for (const auto& item : list->items()) {
            for (const Text& text : texts) {
                if (const auto problem =
                        textEntryProblem((*item.*text.get)(), levelTextCapacity(format, text.which),
                                         tx(text.what))) {
                    return shownLevelTitle(*list) + " \"" + item->name() + "\": " + *problem;
                }
            }
        }
    }
    return std::nullopt;
}

std::string serializeTemplateVersion4(std::string_view typeText, std::int32_t nextGroupNumber,
                                      std::int32_t nextSubId, const LevelList& level1,
                                      const LevelList& level2) {
    ByteWriter out;
    out.writeI32(4);
    out.writeFixedText(typeText, kTypeTextSize);
    out.writeI32(nextGroupNumber);
    out.writeI32(nextSubId);
    out.writeZeros(63);
    out.writeI32(static_cast<std::int32_t>(level1.size() + level2.size()));
    for (const LevelList* list : {&level1, &level2}) {
        for (const auto& item : list->items()) {
            out.writeI32(item->groupNumber());
            out.writeI32(item->parentSubId());
            out.writeI32(item->subId());
            out.writeI32(item->depth());
            out.writeU8(item->isActive() ? 1 : 0);
            out.writeU8(static_cast<std::uint8_t>(list->level()));
            out.writeU16(item->target());
            out.writeCountedText(item->name(), kTemplateTextLimit);
            out.writeCountedText(item->description(), kTemplateTextLimit);
            out.writeCountedText(item->thirdText(), kTemplateTextLimit);
        }
    }
    return out.take();
}

std::string serializeTemplateTag512(std::uint8_t flagByte, std::string_view headerText,
                                    const LevelList& level1, const LevelList& level2) {
    ByteWriter out;
    out.writeU8(flagByte);
    out.writeFixedText(headerText, kLegacyHeaderSize);
    out.writeI32(static_cast<std::int32_t>(level1.size()));
    out.writeI32(static_cast<std::int32_t>(level2.size()));
    for (const LevelList* list : {&level1, &level2}) {
        for (const auto& item : list->items()) {
            out.writeI32(item->subId());
            out.writeFixedText(item->name(), kLegacyNameSize);
            out.writeFixedText(item->description(), kLegacyDescriptionSize);
            if (list == &level1) {
                out.writeU8(item->target());
            }
        }
    }
    for (const auto& item : level1.items()) {
        for (const LevelItem* assigned : item->assigned()) {
            out.writeI32(item->subId());
            out.writeI32(assigned->subId());
        }
    }
    return out.take();
}

std::string serializeSideFile(const LevelList& level1) {
    ByteWriter out;
    out.writeI32(static_cast<std::int32_t>(level1.size()));
    for (const auto& item : level1.items()) {
        out.writeI32(item->subId());
        out.writeU8(item->target());
        out.writeU8(item->isActive() ? 1 : 0);
        out.writeZeros(2);
        out.writeI32(static_cast<std::int32_t>(item->assigned().size()));
        for (const LevelItem* assigned : item->assigned()) {
            out.writeI32(assigned->subId());
        }
    }
    return out.take();
}

} // namespace vsolo
