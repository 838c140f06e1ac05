// A tracker that starts tracking at 9:14 on 12/08/2026, lets the clock reach 9:20 and then waits
// to be killed: the crash the recovery file is there for. Argument: the template to open.

#include "core/document.h"
#include "core/settingsstore.h"
#include "tests/support/dates.h"
#include "tests/support/scriptedprompter.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        return 2;
    }
    vsolo::SettableClock clock(vsolo::testing::dateTime(2026, 12, 8, 9, 14, 30));
    vsolo::MemorySettingsStore store;
    vsolo::Settings settings(store);
    settings.load();
    vsolo::testing::ScriptedPrompter prompter;
    vsolo::CSoloDoc doc(
        settings, prompter, [] {}, clock);
    if (!doc.open(argv[1])) {
        return 3;
    }
    vsolo::CMainFrame frame(doc, prompter);
    frame.setHelpViewer([](int, bool) {});
    frame.show();
    frame.runCommand(vsolo::command::kStart);
    clock.set(vsolo::testing::dateTime(2026, 12, 8, 9, 20));
    frame.tick(vsolo::kMinuteClock);
    std::printf(doc.tracker().isTracking() ? "tracking\n" : "not tracking\n");
    std::fflush(stdout);
    return app.exec();
}
