#pragma once

#include "platform/helpwindow.h"

namespace vsolo {

// The reporting tool's help: its page and the contexts the program opens it at. The numbers are
// those the tool's commands ask for; the help book lists an anchor for every number up to the
// highest, the gaps falling back to the contents.
struct ReportingHelp {
    enum Context {
        Contents = HelpWindow::kContents,
        MainForm = 1,
        Managers = 2,
        Preferences = 3,
        Reports = 200,
    };

    static HelpBook book();
};

} // namespace vsolo
