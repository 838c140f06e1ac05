#pragma once

#include "core/base/timevalue.h"
#include "core/settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vsolo {

class CSoloDoc;
class Settings;

// Everything the Preferences dialog edits, as one value: filled from the settings when the dialog
// opens and written back when the user confirms it.
struct Preferences {
    std::string receiverAddress;
    std::string senderAddress;
    std::string mapiLogon;
    std::string mapiPassword;
    bool remote = false;
    bool remoteAssignments = false;
    std::string level1Title;
    std::string level2Title;
    TimeValue hoursDayMax;
    TimeValue hoursDayMin;
    TimeValue dayStart;
    bool autoSelect = false;
    bool autoShrink = false;
    bool autoSave = false;
    bool autoLoad = false;
    bool idleAsk = false;
    std::int32_t idleMinutes = kDefaultIdleMinutes;
    bool trayIcon = true;
    bool closeToTray = false;

    static Preferences read(const Settings& settings);
};

// A level title without the blanks around it; a title that is empty afterwards is refused.
std::string trimmedTitle(std::string_view title);

// Writes the preferences in the order the settings are known to be written: the mail values, the
// level titles (also the titles of the document's two level lists), the daily limits and the day
// start (also handed to the tracker), the idle question, the tray icon's two, then the four
// automatic options. The titles, "AutoSelect" and "AutoShrink" are held until exit; the rest reach
// the store at once. Every value is written even when an earlier one failed; the result is false
// when the store refused any of them.
bool applyPreferences(const Preferences& preferences, CSoloDoc& doc);

} // namespace vsolo
