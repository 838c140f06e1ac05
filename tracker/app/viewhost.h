#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QString>

// The core after the Qt headers; see above.
#include "core/document.h"

class QPrinter;

namespace vsolo {

// What a view may ask of the window that shows it. The main frame is the one host of the program;
// a test can give a view a host of its own.
class ViewHost {
public:
    virtual ~ViewHost() = default;

    virtual CSoloDoc& document() = 0;
    virtual Prompter& prompter() = 0;
    Tracker& tracker() { return document().tracker(); }

    // Runs a command as its menu item would, with its enable rule.
    virtual void runCommand(int command) = 0;
    // Brings menu texts, enable states and check marks up to date after the view changed them.
    virtual void updateCommands() = 0;
    virtual void refreshTitle() = 0;
    // A message in the status bar.
    virtual void showStatus(const QString& text) = 0;
    // The printer that Print Setup sets up and every print uses.
    virtual QPrinter& printer() = 0;

protected:
    ViewHost() = default;
    ViewHost(const ViewHost&) = default;
    ViewHost& operator=(const ViewHost&) = default;
};

} // namespace vsolo
