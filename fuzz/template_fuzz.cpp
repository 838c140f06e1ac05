// Reads template files of every layout. A template that reads is written again in its own layout
// (version 4, or tag 512 for both legacy tags) and must read back to the same items in the same
// order; the legacy lists keep one item per name, as the document takes them.
#include "core/model/levels.h"
#include "core/model/templateformat.h"
#include "fuzz/fuzzinput.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vsolo;
using fuzz::require;

void fill(LevelList& list, const std::vector<LevelItem>& items, bool unique) {
    for (const LevelItem& item : items) {
        if (unique) {
            list.addUnique(item);
        } else {
            list.add(item);
        }
    }
}

void requireSameItems(const LevelList& written, const std::vector<LevelItem>& read) {
    require(written.size() == read.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        const LevelItem& before = *written.at(i);
        require(before.name() == read[i].name() && before.subId() == read[i].subId());
        require(before.description() == read[i].description());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)recognizeTemplateFormat(bytes);
    TemplateData read;
    if (!parseTemplate(bytes, read).ok) {
        require(read.level1.empty() && read.level2.empty() && read.assignments.empty());
        return 0;
    }
    const bool legacy = read.format != TemplateFormat::Version4;
    LevelList level1(1), level2(2);
    level1.setPartner(&level2);
    fill(level1, read.level1, legacy);
    fill(level2, read.level2, legacy);
    if (unstorableTemplateText(legacy ? TemplateFormat::Tag512 : TemplateFormat::Version4, level1,
                               level2)) {
        return 0;
    }

    std::string written;
    if (legacy) {
        // A zero flag byte and a header text that begins with 2 start the file with the tag 512.
        written = serializeTemplateTag512(0, std::string_view("\x02", 1), level1, level2);
    } else {
        written = serializeTemplateVersion4(read.typeText, read.nextGroupNumber, read.nextSubId,
                                            level1, level2);
    }
    TemplateData again;
    require(parseTemplate(written, again).ok);
    require(again.format == (legacy ? TemplateFormat::Tag512 : TemplateFormat::Version4));
    requireSameItems(level1, again.level1);
    requireSameItems(level2, again.level2);
    if (!legacy) {
        require(again.nextGroupNumber == read.nextGroupNumber && again.nextSubId == read.nextSubId);
    }
    return 0;
}
