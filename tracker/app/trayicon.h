#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

// The core after the Qt headers; see above.
#include "core/model/daytotal.h"
#include "core/settings.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;

namespace vsolo {

class CMainFrame;

// The program's icon in the desktop's tray, where a window cannot keep itself in view on every
// desktop. It shows whether tracking runs, its tooltip what is tracked and the time worked today,
// and its menu starts one of the items tracked last, stops, shows or hides the main window and
// quits, each through the frame's own commands, so that every rule of theirs applies. The frame
// owns it and has it follow the tracker whenever it brings its commands up to date.
class CTrayIcon final : public QObject {
    Q_OBJECT
public:
    explicit CTrayIcon(CMainFrame& frame);
    ~CTrayIcon() override;

    // Shows or hides the icon as the settings and the desktop allow.
    void applySettings();
    // The icon, tooltip and menu as the tracker stands now; an item that started being tracked
    // goes to the front of the items tracked last.
    void refresh();
    bool isShown() const { return m_shown; }
    // Whether the main window's close box only hides it: asked for, and the icon is there to
    // bring the window back.
    bool keepsRunningOnClose() const;
    bool desktopHasTray() const { return m_desktopHasTray(); }
    // Replaces what the desktop says about its tray, for tests.
    void setDesktopHasTray(std::function<bool()> hasTray);

    // A click on the icon: the left button shows or hides the main window.
    void activate(QSystemTrayIcon::ActivationReason reason);

    // For tests: what the desktop is shown.
    QString toolTip() const { return m_icon.toolTip(); }
    bool showsTracking() const { return m_showsTracking; }
    QMenu* menu() const { return m_menu.get(); }
    // The entries of the items tracked last that the menu shows now, newest first.
    QList<QAction*> recentActions() const;
    QAction* stopAction() const { return m_stop; }
    QAction* showHideAction() const { return m_showHide; }
    QAction* quitAction() const { return m_quit; }

protected:
    // Keeps the menu's Show or Hide in step with the main window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void noteTrackedItem();
    QString toolTipText();
    void refreshMenu();
    void startRecent(std::size_t index);
    void stop();
    void quit();
    void showOrHideWindow();
    bool windowShown() const;
    void updateShowHideText();
    // A question is open: the menu's commands wait until it is answered.
    static bool questionOpen();
    bool backToMainView();

    CMainFrame& m_frame;
    std::function<bool()> m_desktopHasTray;
    std::unique_ptr<QMenu> m_menu;
    std::array<QAction*, kRecentItemCount> m_recent{};
    // The items behind the shown entries of m_recent, in the same order.
    std::vector<RecentItem> m_offered;
    QAction* m_recentEnd = nullptr;
    QAction* m_stop = nullptr;
    QAction* m_showHide = nullptr;
    QAction* m_quit = nullptr;
    // Declared after the menu, so that it goes before the menu it shows.
    QSystemTrayIcon m_icon;
    QIcon m_idleIcon;
    QIcon m_trackingIcon;
    bool m_shown = false;
    bool m_showsTracking = false;
    bool m_quitOnLastWindowClosed = true;
    RecentItem m_lastNoted;
    DayTotal m_today;
};

} // namespace vsolo
