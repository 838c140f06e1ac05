#pragma once

#include <vector>

namespace vsolo {

class View;
class ViewHost;

// Stands between commands in a menu or the toolbar.
inline constexpr int kSeparator = 0;

// One item of a menu: a command or a separator, or a submenu of commands under its title.
struct MenuItem {
    int command = kSeparator;
    const char* submenu = nullptr;
    std::vector<int> submenuCommands = {};
};

struct Menu {
    const char* title;
    std::vector<MenuItem> items;
};

struct ToolBarLayout {
    std::vector<int> buttons;
    // A list view's range text follows the buttons.
    bool rangeLabel = false;
};

// One view the frame can show, known by the command that shows it.
struct ViewEntry {
    int command;
    // Makes the view on its host; null while the view is still to come, so that its command is
    // listed, disabled and marked as not available yet.
    View* (*make)(ViewHost& host);
    // The view works on the transactions: they are loaded before it is shown. Every other view
    // lets them go unsaved.
    bool needsTransactions;
    // The small window on top, shown without menus and toolbar, only from the main view while
    // tracking runs.
    bool floating;
    // The menu bar and toolbar the frame shows with the view; null for a floating view.
    const std::vector<Menu>* menus;
    const ToolBarLayout* toolBar;

    bool available() const { return make != nullptr; }
};

// Every view of the program, in command order of no importance.
const std::vector<ViewEntry>& viewTable();
// The entry of the view that the command shows, or null when the command shows no view.
const ViewEntry* findView(int command);

} // namespace vsolo
