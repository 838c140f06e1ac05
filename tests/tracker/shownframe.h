#pragma once

// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/daterange.h"
#include "core/document.h"
#include "core/settingsstore.h"
#include "tests/support/dates.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/app/mainframe.h"

#include <memory>
#include <string>
#include <string_view>

namespace vsolo::testing {

// A document and its shown main frame over the files a test writes into a folder of its own: the
// clock at March 10, 2026, 15:00, the settings in memory, the prompter scripted.
struct ShownFrame {
    TempDir dir;
    SettableClock clock{dateTime(2026, 3, 10, 15, 0)};
    MemorySettingsStore store;
    Settings settings{store};
    ScriptedPrompter prompter;
    std::unique_ptr<CSoloDoc> doc;
    std::unique_ptr<CMainFrame> frame;

    // Loads the settings, stores the date range under the key, opens the template and shows the
    // frame with a help viewer that shows nothing.
    void openAndShow(const std::string& tpl, std::string_view rangeKey, const DateRange& range) {
        settings.load();
        storeDateRange(store, rangeKey, range, clock);
        doc = std::make_unique<CSoloDoc>(
            settings, prompter, [] {}, clock);
        doc->open(tpl);
        frame = std::make_unique<CMainFrame>(*doc, prompter);
        frame->setHelpViewer([](int, bool) {});
        frame->show();
    }
};

} // namespace vsolo::testing
