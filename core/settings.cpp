#include "core/settings.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace vsolo {

namespace {

constexpr int kMaxEdge = 0xFFFF;
constexpr int kDefaultRight = 640;
constexpr int kDefaultBottom = 480;

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string joined(std::string_view window, std::string_view suffix) {
    std::string name(window);
    name += suffix;
    return name;
}

// "level-1 key<TAB>level-2 key<TAB>path", as noteRecentItem() writes it.
bool readRecentItem(std::string_view line, RecentItem& item) {
    const char* const end = line.data() + line.size();
    auto [afterFirst, firstError] = std::from_chars(line.data(), end, item.level1Key);
    if (firstError != std::errc() || afterFirst == end || *afterFirst != '\t') {
        return false;
    }
    auto [afterSecond, secondError] = std::from_chars(afterFirst + 1, end, item.level2Key);
    if (secondError != std::errc() || afterSecond == end || *afterSecond != '\t') {
        return false;
    }
    item.templatePath.assign(afterSecond + 1, end);
    return !item.templatePath.empty();
}

} // namespace

std::int32_t packEdges(int high, int low) {
    const auto h = static_cast<std::uint32_t>(std::clamp(high, 0, kMaxEdge));
    const auto l = static_cast<std::uint32_t>(std::clamp(low, 0, kMaxEdge));
    // Conversion of an unsigned value to a signed type is modular since C++20: the stored integer
    // is the same 32-bit pattern.
    return static_cast<std::int32_t>((h << 16) | l);
}

PackedPlacement packPlacement(const WindowPlacement& placement) {
    return {packEdges(placement.left, placement.top), packEdges(placement.right, placement.bottom),
            placement.showState};
}

WindowPlacement unpackPlacement(const PackedPlacement& packed) {
    const auto position = static_cast<std::uint32_t>(packed.position);
    const auto size = static_cast<std::uint32_t>(packed.size);
    WindowPlacement placement;
    placement.left = static_cast<int>(position >> 16);
    placement.top = static_cast<int>(position & 0xFFFFu);
    placement.right = static_cast<int>(size >> 16);
    placement.bottom = static_cast<int>(size & 0xFFFFu);
    const bool known = packed.style == kShowMinimized || packed.style == kShowMaximized;
    placement.showState = known ? packed.style : kShowNormal;
    return placement;
}

PackedPlacement defaultPackedPlacement(const Rect& workArea, int right, int bottom) {
    return {packEdges(workArea.left, workArea.top), packEdges(right, bottom), kShowNormal};
}

WindowPlacement pullBackIntoWorkArea(WindowPlacement placement, const Rect& workArea) {
    if (placement.left > workArea.right) {
        placement.left = workArea.left;
    }
    if (placement.top > workArea.bottom) {
        placement.top = workArea.top;
    }
    placement.right = std::min(placement.right, workArea.right);
    placement.bottom = std::min(placement.bottom, workArea.bottom);
    if (placement.right <= placement.left || placement.bottom <= placement.top) {
        placement.left = workArea.left;
        placement.top = workArea.top;
        placement.right = std::min(workArea.left + kDefaultRight, workArea.right);
        placement.bottom = std::min(workArea.top + kDefaultBottom, workArea.bottom);
    }
    return placement;
}

Settings::Settings(SettingsStore& store) : m_store(store) {}

void Settings::load() {
    m_stored.level1Title = readTitle(settingname::kLevel1Def, kDefaultLevel1Title);
    m_stored.level2Title = readTitle(settingname::kLevel2Def, kDefaultLevel2Title);
    m_stored.autoSelect = readFlag(settingname::kAutoSelect, false);
    m_stored.autoShrink = readFlag(settingname::kAutoShrink, false);
    m_level1Title = m_stored.level1Title;
    m_level2Title = m_stored.level2Title;
    m_autoSelect = m_stored.autoSelect;
    m_autoShrink = m_stored.autoShrink;
}

bool Settings::saveAtExit() {
    bool ok = true;
    if (m_level1Title != m_stored.level1Title) {
        const bool written = writeText(settingname::kLevel1Def, m_level1Title);
        ok = ok && written;
        if (written) {
            m_stored.level1Title = m_level1Title;
        }
    }
    if (m_level2Title != m_stored.level2Title) {
        const bool written = writeText(settingname::kLevel2Def, m_level2Title);
        ok = ok && written;
        if (written) {
            m_stored.level2Title = m_level2Title;
        }
    }
    if (m_autoSelect != m_stored.autoSelect) {
        const bool written = writeFlag(settingname::kAutoSelect, m_autoSelect);
        ok = ok && written;
        if (written) {
            m_stored.autoSelect = m_autoSelect;
        }
    }
    if (m_autoShrink != m_stored.autoShrink) {
        const bool written = writeFlag(settingname::kAutoShrink, m_autoShrink);
        ok = ok && written;
        if (written) {
            m_stored.autoShrink = m_autoShrink;
        }
    }
    return ok;
}

bool Settings::autoSave() const {
    return readFlag(settingname::kAutoSave, true);
}
bool Settings::setAutoSave(bool on) {
    return writeFlag(settingname::kAutoSave, on);
}
bool Settings::autoLoad() const {
    return readFlag(settingname::kAutoLoad, false);
}
bool Settings::setAutoLoad(bool on) {
    return writeFlag(settingname::kAutoLoad, on);
}

bool Settings::idleAsk() const {
    return readFlag(settingname::kIdleAsk, false);
}
bool Settings::setIdleAsk(bool on) {
    return writeFlag(settingname::kIdleAsk, on);
}
std::int32_t Settings::idleMinutes() const {
    const std::int32_t minutes = readInt(settingname::kIdleMinutes, kDefaultIdleMinutes);
    return minutes >= kMinIdleMinutes && minutes <= kMaxIdleMinutes ? minutes : kDefaultIdleMinutes;
}
bool Settings::setIdleMinutes(std::int32_t minutes) {
    return writeInt(settingname::kIdleMinutes,
                    std::clamp(minutes, kMinIdleMinutes, kMaxIdleMinutes));
}

TimeValue Settings::dayStart() const {
    return readTimeOfDay(settingname::kDayStart, kDefaultDayStart);
}
bool Settings::setDayStart(TimeValue time) {
    return writeInt(settingname::kDayStart, time.seconds());
}
TimeValue Settings::hoursDayMin() const {
    return readTimeOfDay(settingname::kHoursDayMin, kDefaultHoursDayMin);
}
bool Settings::setHoursDayMin(TimeValue time) {
    return writeInt(settingname::kHoursDayMin, time.seconds());
}
TimeValue Settings::hoursDayMax() const {
    return readTimeOfDay(settingname::kHoursDayMax, kDefaultHoursDayMax);
}
bool Settings::setHoursDayMax(TimeValue time) {
    return writeInt(settingname::kHoursDayMax, time.seconds());
}

std::string Settings::templateLocation() const {
    return readText(settingname::kTemplateLocation, "");
}
bool Settings::setTemplateLocation(std::string_view path) {
    return writeText(settingname::kTemplateLocation, path);
}
bool Settings::removeTemplateLocation() {
    return writeText(settingname::kTemplateLocation, std::nullopt);
}
std::string Settings::oldLocation() const {
    return readText(settingname::kOldLocation, "");
}
bool Settings::setOldLocation(std::string_view folder) {
    return writeText(settingname::kOldLocation, folder);
}

bool Settings::dragAndDrop() const {
    return readFlag(settingname::kDragAndDrop, false);
}
bool Settings::setDragAndDrop(bool on) {
    return writeFlag(settingname::kDragAndDrop, on);
}
bool Settings::dragAndDropCopy() const {
    return readFlag(settingname::kDragAndDropCopy, false);
}
bool Settings::setDragAndDropCopy(bool on) {
    return writeFlag(settingname::kDragAndDropCopy, on);
}

bool Settings::remote() const {
    return readTextFlag(settingname::kRemote);
}
bool Settings::setRemote(bool on) {
    return writeTextFlag(settingname::kRemote, on);
}
bool Settings::remoteAssignments() const {
    return readTextFlag(settingname::kRemoteAssignments);
}
bool Settings::setRemoteAssignments(bool on) {
    return writeTextFlag(settingname::kRemoteAssignments, on);
}

std::string Settings::receiverAddress() const {
    return readText(settingname::kReceiverAddress, "");
}
bool Settings::setReceiverAddress(std::string_view address) {
    return writeText(settingname::kReceiverAddress, address);
}
std::string Settings::senderAddress() const {
    return readText(settingname::kSenderAddress, "");
}
bool Settings::setSenderAddress(std::string_view address) {
    return writeText(settingname::kSenderAddress, address);
}
std::string Settings::mapiLogon() const {
    return readText(settingname::kMapiLogon, "");
}
bool Settings::setMapiLogon(std::string_view profile) {
    return writeText(settingname::kMapiLogon, profile);
}
std::string Settings::mapiPassword() const {
    return readText(settingname::kMapiPassword, "");
}
bool Settings::setMapiPassword(std::string_view password) {
    return writeText(settingname::kMapiPassword, password);
}

std::int32_t Settings::tipStartUp() const {
    return readInt(settingname::kTipStartUp, 0, kTipSection);
}
bool Settings::setTipStartUp(std::int32_t value) {
    return writeInt(settingname::kTipStartUp, value, kTipSection);
}
std::int32_t Settings::tipFilePos() const {
    return readInt(settingname::kTipFilePos, 0, kTipSection);
}
bool Settings::setTipFilePos(std::int32_t position) {
    return writeInt(settingname::kTipFilePos, position, kTipSection);
}
std::string Settings::tipTimeStamp() const {
    return readText(settingname::kTipTimeStamp, "", kTipSection);
}
bool Settings::setTipTimeStamp(std::string_view stamp) {
    return writeText(settingname::kTipTimeStamp, stamp, kTipSection);
}

bool Settings::trayIcon() const {
    return readFlag(settingname::kTrayIcon, true);
}
bool Settings::setTrayIcon(bool on) {
    return writeFlag(settingname::kTrayIcon, on);
}
bool Settings::closeToTray() const {
    return readFlag(settingname::kCloseToTray, false);
}
bool Settings::setCloseToTray(bool on) {
    return writeFlag(settingname::kCloseToTray, on);
}

// One line per item: its two keys and its template's path, separated by tabs.
std::vector<RecentItem> Settings::recentItems() const {
    const std::string text = readText(settingname::kRecentItems, "");
    std::vector<RecentItem> items;
    std::size_t at = 0;
    while (at < text.size() && items.size() < kRecentItemCount) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        RecentItem item;
        if (readRecentItem(std::string_view(text).substr(at, end - at), item) &&
            std::find(items.begin(), items.end(), item) == items.end()) {
            items.push_back(std::move(item));
        }
        at = end + 1;
    }
    return items;
}

bool Settings::noteRecentItem(const RecentItem& item) {
    // A path that the stored lines cannot hold is not kept.
    if (item.templatePath.empty() || item.templatePath.find('\n') != std::string::npos) {
        return false;
    }
    std::vector<RecentItem> items = recentItems();
    std::erase(items, item);
    items.insert(items.begin(), item);
    items.resize(std::min(items.size(), kRecentItemCount));
    std::string text;
    for (const RecentItem& each : items) {
        text += std::to_string(each.level1Key) + '\t' + std::to_string(each.level2Key) + '\t' +
                each.templatePath + '\n';
    }
    return writeText(settingname::kRecentItems, text);
}

WindowPlacement Settings::windowPlacement(std::string_view window, const Rect& workArea,
                                          std::pair<int, int> defaultCorner) const {
    const PackedPlacement defaults =
        defaultPackedPlacement(workArea, defaultCorner.first, defaultCorner.second);
    PackedPlacement packed;
    packed.position = readInt(joined(window, settingname::kPositionSuffix), defaults.position);
    packed.size = readInt(joined(window, settingname::kSizeSuffix), defaults.size);
    packed.style = readInt(joined(window, settingname::kStyleSuffix), defaults.style);
    return pullBackIntoWorkArea(unpackPlacement(packed), workArea);
}

bool Settings::setWindowPlacement(std::string_view window, const WindowPlacement& placement) {
    const PackedPlacement packed = packPlacement(placement);
    return writeInt(joined(window, settingname::kPositionSuffix), packed.position) &&
           writeInt(joined(window, settingname::kSizeSuffix), packed.size) &&
           writeInt(joined(window, settingname::kStyleSuffix), packed.style);
}

std::int32_t Settings::readInt(std::string_view name, std::int32_t defaultValue,
                               std::string_view section) const {
    return m_store.readInt(section, name).value_or(defaultValue);
}

bool Settings::writeInt(std::string_view name, std::int32_t value, std::string_view section) {
    return m_store.writeInt(section, name, value);
}

std::string Settings::readText(std::string_view name, std::string_view defaultValue,
                               std::string_view section) const {
    std::optional<std::string> text = m_store.readText(section, name);
    return text ? std::move(*text) : std::string(defaultValue);
}

bool Settings::writeText(std::string_view name, std::optional<std::string_view> text,
                         std::string_view section) {
    if (text) {
        return m_store.writeText(section, name, *text);
    }
    m_store.remove(section, name);
    return !m_store.readText(section, name) && !m_store.readInt(section, name);
}

bool Settings::readFlag(std::string_view name, bool defaultValue) const {
    return readInt(name, defaultValue ? 1 : 0) != 0;
}

bool Settings::writeFlag(std::string_view name, bool on) {
    return writeInt(name, on ? 1 : 0);
}

bool Settings::readTextFlag(std::string_view name) const {
    return readText(name, "0") == "1";
}

bool Settings::writeTextFlag(std::string_view name, bool on) {
    return writeText(name, on ? "1" : "0");
}

TimeValue Settings::readTimeOfDay(std::string_view name, std::int32_t defaultValue) const {
    const std::int32_t seconds = readInt(name, defaultValue);
    return TimeValue(seconds >= 0 && seconds < TimeValue::kDay ? seconds : defaultValue);
}

std::string Settings::readTitle(std::string_view name, std::string_view defaultValue) const {
    std::string title = readText(name, defaultValue);
    return isBlank(title) ? std::string(defaultValue) : title;
}

} // namespace vsolo
