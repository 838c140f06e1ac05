#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

// The core after the Qt headers; see above.
#include "core/document.h"
#include "core/settings.h"
#include "tracker/app/view.h"
#include "tracker/app/viewhost.h"
#include "tracker/app/viewtable.h"
#include "tracker/remote/assignmentcheck.h"
#include "tracker/tracking/idledialog.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QPrinter;
class QSessionManager;

namespace vsolo {

class CTrayIcon;

// The program's only top-level window. It shows one view at a time, as the view table describes
// it, swaps menus and toolbar with the view, remembers each view's placement under its window
// name, owns the two clocks that drive tracking and guards closing while tracking runs. It is the
// host of the view it shows.
class CMainFrame : public QMainWindow, public ViewHost {
    Q_OBJECT
public:
    CMainFrame(CSoloDoc& doc, Prompter& prompter, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CSoloDoc& document() override { return m_doc; }
    Prompter& prompter() override { return m_prompter; }

    // Shows the main view at the "MainWindow" placement and starts clock 1 (first tick at once).
    void start();
    int currentViewNumber() const { return m_viewNumber; }
    View* currentView() const { return m_view; }
    // Shows view N; false when refused (unknown or unavailable view, or the current one said no).
    bool switchTo(int viewNumber);

    // Every command goes through here: menus, toolbar, keys and the views.
    void runCommand(int command) override;
    bool commandEnabled(int command) const;
    QAction* action(int command) const;
    // Brings menu texts, enable states and check marks up to date.
    void updateCommands() override;

    // A clock tick; the timers call it, tests call it directly.
    void tick(int clockNumber);
    bool secondClockRunning() const { return m_clock1.isActive(); }
    bool minuteClockRunning() const { return m_clock2.isActive(); }

    // Polls the document's idle watch with what the idle source has just said; the program calls
    // it whenever the desktop has answered, so that no poll reads an old answer. Then, as at every
    // tick, the open question is put to the user once no other dialog is in the way, without
    // waiting for the answer (the clocks go on meanwhile), and a question that went away (tracking
    // stopped) takes its dialog with it.
    void checkIdle();
    void showIdleQuestion();
    // The open idle question, or null.
    IdleDialog* idleDialog() const { return m_idleDialog; }

    // Asks "End tracking at ..." while tracking runs and stops on Yes. False keeps things running.
    bool endTracking();
    // The work area of the screen the frame is on.
    Rect workArea() const;
    // The inside size of a window the user has not placed yet, as far as the screen allows.
    static QSize defaultSize();
    void refreshTitle() override;
    void showStatus(const QString& text) override;
    // The folder where a local copy of the template is kept.
    void setLocalFolder(QString folder) { m_localFolder = std::move(folder); }
    // The folder of the programs that ship with this one; the program's own unless set (tests).
    QString programFolder() const;
    void setProgramFolder(QString folder) { m_programFolder = std::move(folder); }
    // Every view, the menus and the title show the level titles anew.
    void refreshTitles();
    // Replaces the help viewer, for tests.
    void setHelpViewer(std::function<void(int context, bool trainingCard)> viewer) {
        m_helpViewer = std::move(viewer);
    }
    // The range text of a list view, shown in the toolbar; null for other views.
    QLabel* rangeLabel() const { return m_rangeLabel; }
    // Replaces the file dialogs, for tests: (save?) -> path or empty.
    void setFileChooser(std::function<QString(bool save)> chooser) {
        m_fileChooser = std::move(chooser);
    }
    // Replaces the mail bridge that sending and the assignment check talk to, for tests.
    void setMailPortMaker(MailPortMaker maker) { m_mailPorts = std::move(maker); }
    // Opens a template, from File > Open or at start-up, and shows it with the item Start would
    // track selected. A template that cannot be read leaves an empty document.
    bool openTemplateFile(const QString& path);
    // The start-up's open: the items show at once and the transaction file is read once the
    // window has been painted. Until then the status bar says so and every command that needs the
    // transactions (tracking, the views, the file commands) is disabled.
    bool openTemplateFileAtStartUp(const QString& path);
    // Takes in the transactions an open at start-up left pending, at once.
    void takeInPendingTransactions();
    // Opens a template that a second start of the program handed over (a double-click in the file
    // manager), but only when File > Open could be chosen now and no dialog is open: a running
    // transaction or a question being asked is never swept away. False when it was left alone.
    bool openHandedFile(const QString& path);
    // Refills the main view after the document changed under it.
    void refreshViews();
    // The printer that Print Setup sets up and every print uses.
    QPrinter& printer() override;
    // Saves the placement of the current view's window name.
    void savePlacement();
    // Ends the program as File > Exit does: unlike the window's close box, never only into the
    // tray.
    void exitProgram();
    CTrayIcon* trayIcon() const { return m_tray.get(); }

signals:
    void viewSwitched(int viewNumber);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void buildMenus(const std::vector<Menu>& menus);
    void buildToolBar(const ToolBarLayout& layout);
    void createToolBar();
    QAction* addAction(int command, const QString& text, const QKeySequence& key = {});
    // Whether the view may be shown now: it is available, not shown already, and a floating view
    // only from the main view while tracking runs.
    bool canShow(const ViewEntry& view) const;
    bool showingFloatingView() const { return m_entry && m_entry->floating; }
    // The commands the frame carries itself.
    void runFrameCommand(int command);
    void restorePlacement(const QString& windowName);
    void applyFloatingLook(bool on);
    void openTemplate();
    void saveTemplateAs();
    void newTemplate();
    // The level editor of a tree-shaped template, else the level set-up.
    void editLevels();
    void switchLocalCopy();
    void startReporting();
    void showPreferences();
    void showAbout();
    void showHelp(int context, bool trainingCard);
    bool viewHandles(int command) const;
    void onSessionEnd(QSessionManager& manager);
    std::unique_ptr<remote::MailPort> makeMailPort() const;
    // Commands that need nothing of the transaction file, enabled while it is still loading.
    static bool availableWhileLoading(int command);

    CSoloDoc& m_doc;
    Prompter& m_prompter;
    View* m_view = nullptr;
    const ViewEntry* m_entry = nullptr;
    int m_viewNumber = 0;
    QTimer m_clock1;
    QTimer m_clock2;
    bool m_firstTickDone = false;
    std::map<int, QAction*> m_actions;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_rangeLabel = nullptr;
    bool m_toolBarWanted = true;
    bool m_statusBarWanted = true;
    QString m_localFolder;
    QString m_programFolder;
    Qt::WindowFlags m_normalFlags;
    std::function<void(int, bool)> m_helpViewer;
    std::function<QString(bool)> m_fileChooser;
    QPrinter* m_printer = nullptr;
    MailPortMaker m_mailPorts;
    HookHandle m_refreshMainFormHook;
    HookHandle m_refreshAllViewsHook;
    HookHandle m_assignmentHook;
    std::unique_ptr<QObject> m_afterFirstPaint;
    QPointer<IdleDialog> m_idleDialog;
    std::unique_ptr<CTrayIcon> m_tray;
    bool m_exiting = false;
};

} // namespace vsolo
