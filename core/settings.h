#pragma once

#include "core/base/timevalue.h"
#include "core/settingsstore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vsolo {

inline constexpr std::string_view kUserConfigSection = "UserConfig";
inline constexpr std::string_view kTipSection = "Tip";

// The stored names. They are shared with the reporting tool, which reads the titles and the
// template location from the tracker's store, so they must never change.
namespace settingname {
inline constexpr std::string_view kAutoSelect = "AutoSelect";
inline constexpr std::string_view kAutoShrink = "AutoShrink";
inline constexpr std::string_view kAutoSave = "AutoSave";
inline constexpr std::string_view kAutoLoad = "AutoLoad";
inline constexpr std::string_view kLevel1Def = "Level1Def";
inline constexpr std::string_view kLevel2Def = "Level2Def";
inline constexpr std::string_view kDayStart = "DayStart";
inline constexpr std::string_view kHoursDayMin = "HoursDayMin";
inline constexpr std::string_view kHoursDayMax = "HoursDayMax";
inline constexpr std::string_view kTemplateLocation = "TemplateLocation";
inline constexpr std::string_view kOldLocation = "OldLocation";
inline constexpr std::string_view kDragAndDrop = "DD";
inline constexpr std::string_view kDragAndDropCopy = "DDC";
inline constexpr std::string_view kRemote = "Remote";
inline constexpr std::string_view kRemoteAssignments = "RemoteAssignments";
inline constexpr std::string_view kReceiverAddress = "Receiver Address";
inline constexpr std::string_view kSenderAddress = "Sender Address";
inline constexpr std::string_view kMapiLogon = "MAPILogon";
inline constexpr std::string_view kMapiPassword = "MAPIPassword";
inline constexpr std::string_view kIdleAsk = "IdleAsk";
inline constexpr std::string_view kIdleMinutes = "IdleMinutes";
// The tray icon and the items tracked lately, which its menu offers.
inline constexpr std::string_view kTrayIcon = "TrayIcon";
inline constexpr std::string_view kCloseToTray = "CloseToTray";
inline constexpr std::string_view kRecentItems = "RecentItems";
// Section "Tip".
inline constexpr std::string_view kTipStartUp = "StartUp";
inline constexpr std::string_view kTipFilePos = "FilePos";
inline constexpr std::string_view kTipTimeStamp = "TimeStamp";
// Suffixes after a window name.
inline constexpr std::string_view kPositionSuffix = "Position";
inline constexpr std::string_view kSizeSuffix = "Size";
inline constexpr std::string_view kStyleSuffix = "Style";
} // namespace settingname

// The names under which the views remember their window placement; the two pie graphs share one.
namespace windowname {
inline constexpr std::string_view kMainWindow = "MainWindow";
inline constexpr std::string_view kFloatingWindow = "FloatingWindow";
inline constexpr std::string_view kTimeSheet = "TimeSheet";
inline constexpr std::string_view kEditLevels = "EditLevels";
inline constexpr std::string_view kTimeStudyReport = "TimeStudyReport";
inline constexpr std::string_view kTimeStudyGraph = "TimeStudyGraph";
inline constexpr std::string_view kPieWindow = "PieWindow";
} // namespace windowname

inline constexpr std::string_view kDefaultLevel1Title = "Project";
inline constexpr std::string_view kDefaultLevel2Title = "Activity";
inline constexpr std::int32_t kDefaultDayStart = 30600;    // 08:30
inline constexpr std::int32_t kDefaultHoursDayMin = 27000; // 07:30
inline constexpr std::int32_t kDefaultHoursDayMax = 30600; // 08:30
// The minutes without keyboard or mouse input after which the user is asked about the time.
inline constexpr std::int32_t kDefaultIdleMinutes = 10;
inline constexpr std::int32_t kMinIdleMinutes = 1;
inline constexpr std::int32_t kMaxIdleMinutes = 240;

// An item tracked lately: its keys, which name an item only in the template they came from.
struct RecentItem {
    std::string templatePath;
    std::int32_t level1Key = 0;
    std::int32_t level2Key = 0;
    friend bool operator==(const RecentItem&, const RecentItem&) = default;
};
inline constexpr std::size_t kRecentItemCount = 5;

// A screen rectangle in pixels, by its four edges as the desktop reports them (the work area of
// a 1024 x 768 screen is 0, 0, 1024, 768).
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The stored show states ("Style").
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

// A window's normal (restored) rectangle by its edges, and how it is shown.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int showState = kShowNormal;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// A placement as its three stored integers: "Position" = left * 65536 + top, "Size" = right *
// 65536 + bottom (the lower right corner, not width and height), "Style" = the show state.
struct PackedPlacement {
    std::int32_t position = 0;
    std::int32_t size = 0;
    std::int32_t style = kShowNormal;
    friend bool operator==(const PackedPlacement&, const PackedPlacement&) = default;
};

// high * 65536 + low as the 32-bit pattern that is stored; a high half of 32768 or more gives a
// negative integer. Each half is first limited to 0..65535 so that a negative or oversized
// coordinate cannot borrow from or spill into the other half.
std::int32_t packEdges(int high, int low);
PackedPlacement packPlacement(const WindowPlacement& placement);
// Each half read back as an unsigned 16-bit number. A style other than minimised or maximised
// reads as normal, so that a damaged value can never leave a window hidden.
WindowPlacement unpackPlacement(const PackedPlacement& packed);
// What a window gets when nothing is stored: the work area's top left corner and, unless the
// caller gives another, the corner 640, 480.
PackedPlacement defaultPackedPlacement(const Rect& workArea, int right = 640, int bottom = 480);
// Brings a restored rectangle back onto a (possibly smaller) screen: a left edge past the work
// area's right edge moves to its left edge, a top edge past its bottom edge to its top edge, and
// the right and bottom edges are limited to the work area. A rectangle left with no width or no
// height would be an invisible window; it becomes 640 x 480 at the work area's top left corner,
// limited to the work area.
WindowPlacement pullBackIntoWorkArea(WindowPlacement placement, const Rect& workArea);

// The accessors over the user's settings store. Every value has a getter and a setter with its
// type and default; a missing value (or one of the wrong type) reads as its default and reading
// never writes. The level titles, "AutoSelect" and "AutoShrink" are held here from load() and
// written by saveAtExit(); every other value is read from the store when asked for and written at
// once, and its setter returns false when the store refused the write.
class Settings {
public:
    explicit Settings(SettingsStore& store);

    // Takes the held values from the store; called once at start-up.
    void load();
    // Writes those held values that differ from what the store held at load() (or at the last
    // save), flags as 1 or 0, so that a user who changed nothing leaves the store untouched.
    // False when a write failed.
    bool saveAtExit();

    // Held in memory. A stored title that is empty or blank reads as the default, because every
    // label and message embeds the titles.
    const std::string& level1Title() const { return m_level1Title; }
    const std::string& level2Title() const { return m_level2Title; }
    void setLevel1Title(std::string title) { m_level1Title = std::move(title); }
    void setLevel2Title(std::string title) { m_level2Title = std::move(title); }
    bool autoSelect() const { return m_autoSelect; }
    bool autoShrink() const { return m_autoShrink; }
    void setAutoSelect(bool on) { m_autoSelect = on; }
    void setAutoShrink(bool on) { m_autoShrink = on; }

    bool autoSave() const;
    bool setAutoSave(bool on);
    bool autoLoad() const;
    bool setAutoLoad(bool on);

    // Whether to ask what to do with time tracked while the user was away, and after how many
    // minutes without input. A stored count outside kMinIdleMinutes..kMaxIdleMinutes reads as
    // the default; the setter stores a count brought into that range.
    bool idleAsk() const;
    bool setIdleAsk(bool on);
    std::int32_t idleMinutes() const;
    bool setIdleMinutes(std::int32_t minutes);

    // Times of day; a stored value outside 00:00:00..23:59:59 reads as the default.
    TimeValue dayStart() const;
    bool setDayStart(TimeValue time);
    TimeValue hoursDayMin() const;
    bool setHoursDayMin(TimeValue time);
    TimeValue hoursDayMax() const;
    bool setHoursDayMax(TimeValue time);

    std::string templateLocation() const;
    bool setTemplateLocation(std::string_view path);
    // Used when the template itself is deleted.
    bool removeTemplateLocation();
    // Non-empty while the program works on a local copy.
    std::string oldLocation() const;
    bool setOldLocation(std::string_view folder);

    bool dragAndDrop() const;
    bool setDragAndDrop(bool on);
    bool dragAndDropCopy() const;
    bool setDragAndDropCopy(bool on);

    // Stored as the texts "1" and "0"; any text but "1" reads as off.
    bool remote() const;
    bool setRemote(bool on);
    bool remoteAssignments() const;
    bool setRemoteAssignments(bool on);

    std::string receiverAddress() const;
    bool setReceiverAddress(std::string_view address);
    std::string senderAddress() const;
    bool setSenderAddress(std::string_view address);
    std::string mapiLogon() const;
    bool setMapiLogon(std::string_view profile);
    std::string mapiPassword() const;
    bool setMapiPassword(std::string_view password);

    // Section "Tip": 0 means show the tip at start-up; the byte position in the tips file; the
    // tips file's modification time as text.
    std::int32_t tipStartUp() const;
    bool setTipStartUp(std::int32_t value);
    std::int32_t tipFilePos() const;
    bool setTipFilePos(std::int32_t position);
    std::string tipTimeStamp() const;
    bool setTipTimeStamp(std::string_view stamp);

    // The icon in the desktop's tray (where the desktop has one), and whether closing the main
    // window leaves the program running there.
    bool trayIcon() const;
    bool setTrayIcon(bool on);
    bool closeToTray() const;
    bool setCloseToTray(bool on);
    // The items tracked last, newest first, at most kRecentItemCount and each once; a stored
    // entry that cannot be read is left out. Noting an item puts it first; an item without a
    // template path (or with a line break in it) is refused.
    std::vector<RecentItem> recentItems() const;
    bool noteRecentItem(const RecentItem& item);

    // The placement stored under a window name, with the defaults for the work area and pulled
    // back into it.
    // `defaultCorner` is the bottom right corner a window gets when nothing is stored for it.
    WindowPlacement windowPlacement(std::string_view window, const Rect& workArea,
                                    std::pair<int, int> defaultCorner = {640, 480}) const;
    bool setWindowPlacement(std::string_view window, const WindowPlacement& placement);

    // The generic forms. Writing no text (std::nullopt) removes the value; an empty text is
    // stored as an empty value. Removing reports whether the value is gone afterwards.
    std::int32_t readInt(std::string_view name, std::int32_t defaultValue,
                         std::string_view section = kUserConfigSection) const;
    bool writeInt(std::string_view name, std::int32_t value,
                  std::string_view section = kUserConfigSection);
    std::string readText(std::string_view name, std::string_view defaultValue,
                         std::string_view section = kUserConfigSection) const;
    bool writeText(std::string_view name, std::optional<std::string_view> text,
                   std::string_view section = kUserConfigSection);

    SettingsStore& store() { return m_store; }

private:
    struct Held {
        std::string level1Title;
        std::string level2Title;
        bool autoSelect = false;
        bool autoShrink = false;
    };

    bool readFlag(std::string_view name, bool defaultValue) const;
    bool writeFlag(std::string_view name, bool on);
    bool readTextFlag(std::string_view name) const;
    bool writeTextFlag(std::string_view name, bool on);
    TimeValue readTimeOfDay(std::string_view name, std::int32_t defaultValue) const;
    std::string readTitle(std::string_view name, std::string_view defaultValue) const;

    SettingsStore& m_store;
    std::string m_level1Title{kDefaultLevel1Title};
    std::string m_level2Title{kDefaultLevel2Title};
    bool m_autoSelect = false;
    bool m_autoShrink = false;
    // The held values as the store last had them (defaults for missing ones).
    Held m_stored{std::string(kDefaultLevel1Title), std::string(kDefaultLevel2Title), false, false};
};

} // namespace vsolo
