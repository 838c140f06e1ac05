#pragma once

#include "platform/helpwindow.h"

namespace vsolo {

// The tracker's help: its page and the contexts the program opens it at.
struct TrackerHelp {
    enum Context {
        Contents = HelpWindow::kContents,
        MainWindow = 1,
        TimeSheet = 2,
        ReportsAndGraphs = 3,
        FirstSteps = 4,
        LevelEditor = 5,
    };

    static HelpBook book();
};

} // namespace vsolo
