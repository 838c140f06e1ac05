#pragma once

#include "core/base/usertext.h"
#include "core/model/levels.h"
#include "core/model/textcapacity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vsolo {

// The three layouts of a template file, known by the first four bytes.
enum class TemplateFormat : std::int32_t { Version4 = 4, Tag512 = 512, Tag768 = 768 };

inline constexpr std::string_view kTrackerTypeText = VSOLO_FIXED("Veltimo Solo File");
inline constexpr std::string_view kManagedTypeText = VSOLO_FIXED("MSProject File");
inline constexpr std::size_t kTypeTextSize = 25;
inline constexpr std::size_t kLegacyHeaderSize = 61;
inline constexpr std::size_t kLegacyNameSize = 21;
inline constexpr std::size_t kLegacyDescriptionSize = 61;
// Texts of a template are read through a buffer of this many bytes.
inline constexpr std::size_t kTemplateTextLimit = 10000;

TemplateFormat recognizeTemplateFormat(std::string_view firstBytes);

// What each text of a level item can hold in a template of the format. Legacy templates keep no
// third text.
enum class LevelText { Name, Description, Third };
TextCapacity levelTextCapacity(TemplateFormat format, LevelText text);

// The first text of the items that a save in the format could not store as it is, as a message
// that names the item (its level's title, or kLevelItemText for a level without one, and its
// name); nothing when every text fits. Every save asks this before it writes anything.
std::optional<std::string> unstorableTemplateText(TemplateFormat format, const LevelList& level1,
                                                  const LevelList& level2);
// %1 the level's number.
inline constexpr const char* kLevelItemText = VSOLO_TR("Level %1 item");
// How the user is told which level an item is on: the level's title, else kLevelItemText.
std::string shownLevelTitle(const LevelList& list);

// A template as read from its bytes, before it is taken into the level lists.
struct TemplateData {
    TemplateFormat format = TemplateFormat::Version4;
    bool managed = false;
    std::uint8_t legacyFlagByte = 0;
    std::string typeText; // the type text (format 4) or the header text (legacy)
    std::int32_t nextGroupNumber = 1;
    std::int32_t nextSubId = 1;
    std::vector<LevelItem> level1;
    std::vector<LevelItem> level2;
    // Legacy assignments in file order: (level-1 sub-id, level-2 sub-id).
    std::vector<std::pair<std::int32_t, std::int32_t>> assignments;
};

struct ParseResult {
    bool ok = true;
    std::string detail; // what is damaged, when not ok
    static ParseResult failure(std::string detail) { return {false, std::move(detail)}; }
};

// Reads any of the three layouts; a zero-length file is an empty version-4 template. A count or a
// length that runs past the end of the data, a text longer than the text buffer, or bytes after the
// last record make the file damaged.
ParseResult parseTemplate(std::string_view bytes, TemplateData& out);

// One legacy side-file entry: a level-1 item's target, active flag and assigned level-2 sub-ids.
struct SideEntry {
    std::int32_t level1SubId = 0;
    std::uint8_t target = 0;
    bool active = true;
    std::vector<std::int32_t> assigned;
};
// A damaged side file leaves `out` empty, the entries before the damage too.
ParseResult parseSideFile(std::string_view bytes, std::vector<SideEntry>& out);

// Writers. The tag-512 writer puts down the flag byte and header text it is given; the caller makes
// sure they start the file with 512 or "ATra", so that it reads back as tag 512. A text that its
// field cannot hold (see unstorableTemplateText) is cut to fit, so that the file always reads back.
std::string serializeTemplateVersion4(std::string_view typeText, std::int32_t nextGroupNumber,
                                      std::int32_t nextSubId, const LevelList& level1,
                                      const LevelList& level2);
std::string serializeTemplateTag512(std::uint8_t flagByte, std::string_view headerText,
                                    const LevelList& level1, const LevelList& level2);
std::string serializeSideFile(const LevelList& level1);

} // namespace vsolo
