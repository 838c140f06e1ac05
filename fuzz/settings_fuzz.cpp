// Reads the settings as the programs find them: the input is the text of a settings file, read as
// the command-line tool reads it, and its values are put into a store for the tracker's and the
// reporting tool's accessors. Every value read must be one the programs can use: times of day
// within the day, windows on the screen, titles that are not blank, finite numbers.
#include "core/inisettingsstore.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "fuzz/fuzzinput.h"
#include "reporting/data/reportsettings.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace vsolo;
using fuzz::require;

constexpr Rect kWorkArea{0, 0, 1024, 768};

void requireTimeOfDay(TimeValue time) {
    require(time.seconds() >= 0 && time.seconds() < 24 * 3600);
}

void requireOnScreen(const WindowPlacement& p) {
    require(p.left >= kWorkArea.left && p.top >= kWorkArea.top);
    require(p.right <= kWorkArea.right && p.bottom <= kWorkArea.bottom);
    require(p.left < p.right && p.top < p.bottom);
    require(p.showState == kShowNormal || p.showState == kShowMinimized ||
            p.showState == kShowMaximized);
}

bool blank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MemorySettingsStore store;
    for (const auto& [key, value] : parseQSettingsIni(text)) {
        store.writeText(key.first, key.second, value.text);
        std::int32_t number = 0;
        const char* end = value.text.data() + value.text.size();
        if (!value.isList && std::from_chars(value.text.data(), end, number).ptr == end) {
            store.writeInt(key.first, key.second, number);
        }
    }

    Settings settings(store);
    settings.load();
    require(!blank(settings.level1Title()) && !blank(settings.level2Title()));
    requireTimeOfDay(settings.dayStart());
    requireTimeOfDay(settings.hoursDayMin());
    requireTimeOfDay(settings.hoursDayMax());
    (void)settings.autoSave();
    (void)settings.remote();
    (void)settings.templateLocation();
    (void)settings.tipFilePos();
    for (const std::string_view window :
         {windowname::kMainWindow, windowname::kTimeSheet, windowname::kPieWindow}) {
        requireOnScreen(settings.windowPlacement(window, kWorkArea));
    }

    const SettableClock clock(TimeValue(1'700'000'000));
    const reporting::ReportSettings report = reporting::readReportSettings(store, store, clock);
    require(std::isfinite(report.taxPercent));
    return 0;
}
