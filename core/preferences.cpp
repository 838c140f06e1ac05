#include "core/preferences.h"

#include "core/document.h"
#include "core/settings.h"

namespace vsolo {

Preferences Preferences::read(const Settings& settings) {
    Preferences p;
    p.receiverAddress = settings.receiverAddress();
    p.senderAddress = settings.senderAddress();
    p.mapiLogon = settings.mapiLogon();
    p.mapiPassword = settings.mapiPassword();
    p.remote = settings.remote();
    p.remoteAssignments = settings.remoteAssignments();
    p.level1Title = settings.level1Title();
    p.level2Title = settings.level2Title();
    p.hoursDayMax = settings.hoursDayMax();
    p.hoursDayMin = settings.hoursDayMin();
    p.dayStart = settings.dayStart();
    p.autoSelect = settings.autoSelect();
    p.autoShrink = settings.autoShrink();
    p.autoSave = settings.autoSave();
    p.autoLoad = settings.autoLoad();
    p.idleAsk = settings.idleAsk();
    p.idleMinutes = settings.idleMinutes();
    p.trayIcon = settings.trayIcon();
    p.closeToTray = settings.closeToTray();
    return p;
}

std::string trimmedTitle(std::string_view title) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = title.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = title.find_last_not_of(kBlanks);
    return std::string(title.substr(first, last - first + 1));
}

bool applyPreferences(const Preferences& p, CSoloDoc& doc) {
    Settings& settings = doc.settings();
    bool stored = true;
    auto keep = [&stored](bool written) { stored = stored && written; };
    keep(settings.setReceiverAddress(p.receiverAddress));
    keep(settings.setSenderAddress(p.senderAddress));
    keep(settings.setMapiLogon(p.mapiLogon));
    keep(settings.setMapiPassword(p.mapiPassword));
    keep(settings.setRemote(p.remote));
    keep(settings.setRemoteAssignments(p.remoteAssignments));
    settings.setLevel1Title(p.level1Title);
    settings.setLevel2Title(p.level2Title);
    doc.templateFile().level1().setTitle(p.level1Title);
    doc.templateFile().level2().setTitle(p.level2Title);
    keep(settings.setHoursDayMax(p.hoursDayMax));
    keep(settings.setHoursDayMin(p.hoursDayMin));
    keep(settings.setDayStart(p.dayStart));
    doc.tracker().setDayStart(p.dayStart);
    keep(settings.setIdleAsk(p.idleAsk));
    keep(settings.setIdleMinutes(p.idleMinutes));
    keep(settings.setTrayIcon(p.trayIcon));
    keep(settings.setCloseToTray(p.closeToTray));
    settings.setAutoSelect(p.autoSelect);
    settings.setAutoShrink(p.autoShrink);
    keep(settings.setAutoSave(p.autoSave));
    keep(settings.setAutoLoad(p.autoLoad));
    return stored;
}

} // namespace vsolo
