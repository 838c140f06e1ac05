#include "tracker/app/mainframe.h"

#include "platform/firstpaint.h"
#include "platform/helpwindow.h"
#include "tracker/app/commands.h"
#include "tracker/app/preferences.h"
#include "tracker/app/qtext.h"
#include "tracker/app/siblings.h"
#include "tracker/app/texts.h"
#include "tracker/app/tipdialog.h"
#include "tracker/app/trayicon.h"
#include "tracker/help/helpbook.h"
#include "tracker/levels/levelsetup.h"
#include "tracker/remote/sendcommand.h"
#include "tracker/timesheet/timesheetview.h"
#include "tracker/tracking/pictures.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace vsolo {

CMainFrame::CMainFrame(CSoloDoc& doc, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_prompter(prompter) {
    setWindowIcon(pictures::programIcon());
    createActions();
    createToolBar();
    statusBar()->showMessage(tr("Ready"));
    m_normalFlags = windowFlags();
    m_clock2.setTimerType(Qt::PreciseTimer);
    connect(&m_clock1, &QTimer::timeout, this, [this] { tick(kSecondClock); });
    connect(&m_clock2, &QTimer::timeout, this, [this] { tick(kMinuteClock); });
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager& manager) { onSessionEnd(manager); });
    m_refreshMainFormHook = m_doc.hooks().refreshMainForm.install([this] { refreshViews(); });
    m_refreshAllViewsHook = m_doc.hooks().refreshAllViews.install([this] { refreshViews(); });
    m_assignmentHook = m_doc.hooks().checkAssignmentUpdates.install([this] {
        if (checkAssignmentUpdates(m_doc, m_prompter, *makeMailPort())) {
            refreshViews();
        }
    });
    switchTo(command::kMainWindow);
    refreshTitle();
    m_tray = std::make_unique<CTrayIcon>(*this);
}

CMainFrame::~CMainFrame() {
    m_tray.reset(); // it reads the frame
    // The view goes while the frame is whole: an edit that loses the focus on the way still
    // reaches the frame and its tracker.
    delete takeCentralWidget();
    m_view = nullptr;
    m_refreshMainFormHook.reset();
    m_refreshAllViewsHook.reset();
    m_assignmentHook.reset();
    m_doc.tracker().setViewTarget(nullptr);
    delete m_printer;
}

QAction* CMainFrame::addAction(int command, const QString& text, const QKeySequence& key) {
    auto* action = new QAction(text, this);
    if (!key.isEmpty()) {
        action->setShortcut(key);
    }
    const QIcon icon = pictures::commandIcon(command);
    if (!icon.isNull()) {
        action->setIcon(icon);
    }
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    m_actions[command] = action;
    QMainWindow::addAction(action); // keys work while menus and toolbar are hidden too
    return action;
}

QAction* CMainFrame::action(int command) const {
    const auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::createActions() {
    using namespace command;
    addAction(kNew, tr("&New"));
    addAction(kOpen, tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    addAction(kSaveAs, tr("Save &As..."));
    addAction(kDelete, tr("&Delete"));
    addAction(kLocalDrive, tr("&Use file on Local Drive"))->setCheckable(true);
    addAction(kPrintSetup, tr("P&rint Setup..."));
    addAction(kExit, tr("E&xit"));
    addAction(kEditLevels, tr("&Edit Levels/Targets..."));
    addAction(kPreferences, tr("&Preferences..."));
    addAction(kTimeSheet, tr("&Time Sheet"), QKeySequence(Qt::CTRL | Qt::Key_T));
    addAction(kStatusBar, tr("&Status Bar"))->setCheckable(true);
    addAction(kToolBar, tr("&Toolbar"))->setCheckable(true);
    addAction(kStart, tr("&Start"), QKeySequence(Qt::Key_F9));
    addAction(kStartFromLast, tr("Start from &Last"), QKeySequence(Qt::Key_F10));
    addAction(kStop, tr("S&top"), QKeySequence(Qt::Key_F11));
    addAction(kShrink, tr("S&hrink"), QKeySequence(Qt::Key_F12));
    addAction(kDisplayAllItems, tr("&Display All Items"))->setCheckable(true);
    addAction(kAutoSelect, tr("Auto stop/start when selecting &new level 1 and 2"))
        ->setCheckable(true);
    addAction(kAutoShrink, tr("Auto-&shrink window when tracking time"))->setCheckable(true);
    // The report commands carry a radio mark on the report shown.
    auto* reports = new QActionGroup(this);
    reports->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const Qt::Key reportKeys[] = {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8};
    for (std::size_t i = 0; i < kReportCommands.size(); ++i) {
        QAction* report = addAction(kReportCommands[i], QString(), QKeySequence(reportKeys[i]));
        report->setCheckable(true);
        reports->addAction(report);
    }
    addAction(kMoreReports, tr("&More Reports"));
    addAction(kSendTimeSheet, tr("Send Ti&me Sheet"));
    addAction(kTipOfTheDay, tr("Ti&p of the Day..."));
    addAction(kHelpContents, tr("&Contents..."), QKeySequence(Qt::Key_F1));
    addAction(kHelpOnWindow, tr("&Help on this window"));
    addAction(kTrainingCard, tr("&Training Card"));
    addAction(kAbout, tr("&About Veltimo Solo..."));
    addAction(kMainWindow, tr("&Main Window"));
    addAction(kBackToMainWindow, tr("&Close"), QKeySequence(Qt::CTRL | Qt::Key_F4))
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_X)});
    // The time sheet's commands.
    addAction(kSave, tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(kPrint, tr("&Print..."), QKeySequence(Qt::ALT | Qt::Key_P));
    addAction(kPrintPreview, tr("Print Pre&view"));
    addAction(kExportCsv, tr("Comma Separated (*.csv)"));
    addAction(kExportTxt, tr("Tab Delimited (.txt)"));
    addAction(kEditTransaction, tr("&Edit transaction..."));
    addAction(kAddTransaction, tr("&Add"), QKeySequence(Qt::Key_Insert));
    addAction(kDeleteTransaction, tr("&Delete"), QKeySequence(Qt::Key_Delete));
    addAction(kDeleteAll, tr("Delete A&ll"));
    addAction(kFirstRow, tr("&First"), QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(kPreviousRow, tr("&Previous"), QKeySequence(Qt::CTRL | Qt::Key_P));
    addAction(kNextRow, tr("&Next"), QKeySequence(Qt::CTRL | Qt::Key_N));
    addAction(kLastRow, tr("&Last"), QKeySequence(Qt::CTRL | Qt::Key_L));
    addAction(kDateRange, tr("D&ate Range..."));
    // The level editor's commands; the texts that carry the level titles are set as menus open.
    addAction(kAddLevel1Item, QString());
    addAction(kAddLevel2Item, QString());
    addAction(kRenameLevelItem, tr("&Rename"), QKeySequence(Qt::Key_F2));
    addAction(kCopyToNewLevel1, QString());
    addAction(kDragAndDrop, tr("&Drag and Drop (Hold Ctrl Key)"))->setCheckable(true);
    addAction(kDragAndDropCopy, tr("Drag and Drop &Copy"))->setCheckable(true);
    addAction(kSortLevels, tr("&Sort List"));
}

void CMainFrame::buildMenus(const std::vector<Menu>& menus) {
    QMenuBar* bar = new QMenuBar(this);
    auto addItems = [this](QMenu* menu, const std::vector<int>& commands) {
        for (int c : commands) {
            if (c == kSeparator) {
                menu->addSeparator();
            } else {
                menu->addAction(action(c));
            }
        }
    };
    for (const Menu& m : menus) {
        QMenu* menu = bar->addMenu(tt(m.title));
        for (const MenuItem& item : m.items) {
            if (item.submenu) {
                addItems(menu->addMenu(tt(item.submenu)), item.submenuCommands);
            } else {
                addItems(menu, {item.command});
            }
        }
    }
    for (QMenu* menu : bar->findChildren<QMenu*>()) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommands);
    }
    setMenuBar(bar); // the old bar goes
}

void CMainFrame::buildToolBar(const ToolBarLayout& layout) {
    m_toolBar->clear();
    m_rangeLabel = nullptr;
    for (int c : layout.buttons) {
        if (c == kSeparator) {
            m_toolBar->addSeparator();
        } else {
            m_toolBar->addAction(action(c));
        }
    }
    if (layout.rangeLabel) {
        // The range of a list view, shown beside the buttons.
        auto* spacer = new QWidget(m_toolBar);
        spacer->setFixedWidth(5);
        m_toolBar->addWidget(spacer);
        m_rangeLabel = new QLabel(m_toolBar);
        m_toolBar->addWidget(m_rangeLabel);
    }
}

void CMainFrame::createToolBar() {
    m_toolBar = addToolBar(tr("Toolbar"));
    m_toolBar->setObjectName("mainToolBar");
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(false);
}

bool CMainFrame::viewHandles(int command) const {
    return m_view && m_view->handles(command);
}

bool CMainFrame::availableWhileLoading(int c) {
    using namespace command;
    switch (c) {
    case kExit:
    case kStatusBar:
    case kToolBar:
    case kHelpContents:
    case kHelpOnWindow:
    case kTrainingCard:
    case kAbout:
    case kPrintSetup:
    case kTipOfTheDay:
    case kDisplayAllItems:
        return true;
    default:
        return false;
    }
}

bool CMainFrame::commandEnabled(int c) const {
    using namespace command;
    if (m_doc.transactionsPending() && !availableWhileLoading(c)) {
        return false;
    }
    if (viewHandles(c)) {
        return m_view->isEnabled(c);
    }
    if (const ViewEntry* view = findView(c)) {
        // The report shown keeps its command enabled beside its radio mark; it shows nothing new.
        return canShow(*view) || (view->available() && c == m_viewNumber && isReport(c));
    }
    const bool tracking = m_doc.tracker().isTracking();
    const bool local = m_doc.usingLocalCopy();
    switch (c) {
    case kNew:
    case kOpen:
        return !tracking && !local;
    case kSaveAs:
        return !tracking && !local && !m_doc.templateFile().isManaged();
    case kDelete:
        return !tracking && !local && m_doc.hasPath();
    case kLocalDrive:
        return m_doc.hasPath();
    case kMoreReports:
        return m_doc.templateFile().isTreeShape();
    case kEditLevels:
    case kPreferences:
    case kAutoSelect:
    case kAutoShrink:
    case kExit:
    case kStatusBar:
    case kToolBar:
    case kHelpContents:
    case kHelpOnWindow:
    case kTrainingCard:
    case kAbout:
    case kPrintSetup:
    case kTipOfTheDay:
        return true;
    case kSendTimeSheet:
        return sendTimeSheetEnabled(m_doc);
    default:
        return false;
    }
}

bool CMainFrame::canShow(const ViewEntry& view) const {
    if (!view.available() || view.command == m_viewNumber) {
        return false;
    }
    return !view.floating || (m_viewNumber == command::kMainWindow && m_doc.tracker().isTracking());
}

void CMainFrame::updateCommands() {
    using namespace command;
    const Settings& settings = m_doc.settings();
    const std::string& t1 = settings.level1Title();
    const std::string& t2 = settings.level2Title();
    auto menuText = [](const QString& withTab) { return withTab.section('\t', 0, 0); };
    action(kTimeStudyReport)->setText(menuText(fill(text::kReportLevels, {t1, t2})));
    action(kTimeStudyGraph)->setText(menuText(fill(text::kReportGraph, {t1})));
    action(kPieLevel1)->setText(menuText(fill(text::kReportPie1, {t1})));
    action(kPieLevel2)->setText(menuText(fill(text::kReportPie2, {t2})));
    action(kPieLevel1)->setStatusTip(fill(text::kPiePrompt, {t1}));
    action(kPieLevel2)->setStatusTip(fill(text::kPiePrompt, {t2}));
    action(kAddLevel1Item)->setText(fill(text::kAddItem, {t1}));
    action(kAddLevel2Item)->setText(fill(text::kAddItem, {t2}));
    action(kCopyToNewLevel1)->setText(fill(text::kCopyToNewItem, {t1}));
    action(kCopyToNewLevel1)->setStatusTip(tt(text::kCopyToNewItemPrompt));
    for (auto& [c, a] : m_actions) {
        a->setEnabled(commandEnabled(c));
        if (const ViewEntry* view = findView(c); view && !view->available()) {
            a->setToolTip(a->text().remove('&') + " (" + tt(text::kNotYetAvailable) + ")");
        }
    }
    action(kLocalDrive)->setChecked(m_doc.usingLocalCopy());
    action(kAutoSelect)->setChecked(settings.autoSelect());
    action(kAutoShrink)->setChecked(settings.autoShrink());
    action(kStatusBar)->setChecked(m_statusBarWanted);
    action(kToolBar)->setChecked(m_toolBarWanted);
    action(kDisplayAllItems)
        ->setChecked(viewHandles(kDisplayAllItems) && m_view->isChecked(kDisplayAllItems));
    for (int c : kReportCommands) {
        action(c)->setChecked(c == m_viewNumber);
    }
    for (int c : {kDragAndDrop, kDragAndDropCopy}) {
        action(c)->setChecked(viewHandles(c) && m_view->isChecked(c));
    }
    if (m_tray) {
        m_tray->refresh();
    }
}

void CMainFrame::runCommand(int c) {
    using namespace command;
    updateCommands();
    if (!commandEnabled(c)) {
        QApplication::beep();
        return;
    }
    if (viewHandles(c)) {
        m_view->run(c);
        updateCommands();
        return;
    }
    if (findView(c)) {
        switchTo(c);
    } else {
        runFrameCommand(c);
    }
    updateCommands();
}

void CMainFrame::runFrameCommand(int c) {
    using namespace command;
    switch (c) {
    case kNew:
        newTemplate();
        editLevels();
        break;
    case kEditLevels:
        editLevels();
        break;
    case kOpen:
        openTemplate();
        break;
    case kSaveAs:
        saveTemplateAs();
        break;
    case kDelete:
        if (m_doc.deleteTemplate()) {
            refreshViews();
        }
        refreshTitle();
        break;
    case kLocalDrive:
        switchLocalCopy();
        break;
    case kExit:
        exitProgram();
        break;
    case kStatusBar:
        m_statusBarWanted = !m_statusBarWanted;
        statusBar()->setVisible(m_statusBarWanted);
        break;
    case kToolBar:
        m_toolBarWanted = !m_toolBarWanted;
        m_toolBar->setVisible(m_toolBarWanted);
        break;
    case kMoreReports:
        startReporting();
        break;
    case kPreferences:
        showPreferences();
        break;
    case kAutoSelect:
        m_doc.settings().setAutoSelect(!m_doc.settings().autoSelect());
        break;
    case kAutoShrink:
        m_doc.settings().setAutoShrink(!m_doc.settings().autoShrink());
        break;
    case kHelpContents:
        showHelp(TrackerHelp::Contents, true);
        break;
    case kHelpOnWindow:
        showHelp(m_view ? m_view->helpContext() : TrackerHelp::MainWindow, true);
        break;
    case kTrainingCard:
        showHelp(TrackerHelp::FirstSteps, true);
        break;
    case kAbout:
        showAbout();
        break;
    case kTipOfTheDay:
        CTipDlg::showTips(m_doc.settings(), this);
        break;
    case kSendTimeSheet:
        sendTimeSheet(*this, [this] { return makeMailPort(); });
        break;
    case kPrintSetup: {
        QPageSetupDialog dialog(&printer(), this);
        dialog.exec();
        break;
    }
    default:
        break;
    }
}

bool CMainFrame::switchTo(int viewNumber) {
    const ViewEntry* entry = findView(viewNumber);
    if (!entry || !canShow(*entry)) {
        return false;
    }
    if (m_view && !m_view->mayLeave()) {
        return false;
    }
    // Views that need the transactions load them afresh; every other view lets them go unsaved.
    if (entry->needsTransactions) {
        if (m_entry && m_entry->needsTransactions) {
            m_doc.templateFile().unloadTransactions(false);
        }
        // A document without a file has no transaction file to read: its time sheet is empty.
        if (m_doc.hasPath() && !m_doc.reporter().present(m_doc.templateFile().loadTransactions())) {
            // The file could not be read (the user was told why): the view stays as it was.
            m_doc.templateFile().unloadTransactions(false);
            return false;
        }
    } else {
        m_doc.templateFile().unloadTransactions(false);
    }
    const bool wasFloating = m_entry && m_entry->floating;
    const bool floating = entry->floating;
    View* next = entry->make(*this);
    if (m_view) {
        savePlacement();
    }
    if (!floating) {
        buildMenus(*entry->menus);
        buildToolBar(*entry->toolBar);
    }
    menuBar()->setVisible(!floating);
    m_toolBar->setVisible(!floating && m_toolBarWanted);
    statusBar()->setVisible(!floating && m_statusBarWanted);
    m_view = next;
    m_entry = entry;
    m_viewNumber = viewNumber;
    setCentralWidget(next); // destroys the old view
    next->activated();
    connect(next, &View::switchRequested, this, [this](int n) { switchTo(n); });
    if (auto* listView = qobject_cast<CExListView*>(next)) {
        if (m_rangeLabel) {
            m_rangeLabel->setText(listView->rangeText());
        }
        connect(listView, &CExListView::rangeTextChanged, this, [this](const QString& text) {
            if (m_rangeLabel) {
                m_rangeLabel->setText(text);
            }
        });
    }
    if (floating) {
        applyFloatingLook(true);
    } else {
        if (wasFloating) {
            applyFloatingLook(false);
        }
        restorePlacement(next->windowName());
    }
    m_doc.tracker().setViewTarget(next);
    refreshTitle();
    updateCommands();
    emit viewSwitched(viewNumber);
    return true;
}

void CMainFrame::applyFloatingLook(bool on) {
    if (on) {
        const WindowPlacement p =
            m_doc.settings().windowPlacement(windowname::kFloatingWindow, workArea());
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowStaysOnTopHint);
        setWindowState(Qt::WindowNoState);
        adjustSize();
        setFixedSize(sizeHint());
        move(p.left, p.top);
        show();
        return;
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowFlags(m_normalFlags);
    setWindowState(windowState() & ~Qt::WindowMaximized);
    show();
}

// A placement holds the outer corner of the window and the size of its inside, so that what is
// saved comes back the same whatever frame the desktop draws around the window.
void CMainFrame::restorePlacement(const QString& windowName) {
    const Rect area = workArea();
    const QSize size = defaultSize();
    const WindowPlacement p = m_doc.settings().windowPlacement(
        ss(windowName), area, {area.left + size.width(), area.top + size.height()});
    setWindowState(Qt::WindowNoState);
    resize(p.right - p.left, p.bottom - p.top);
    move(p.left, p.top);
    if (p.showState == kShowMaximized) {
        setWindowState(Qt::WindowMaximized);
    } else if (p.showState == kShowMinimized) {
        setWindowState(Qt::WindowMinimized);
    }
}

void CMainFrame::savePlacement() {
    if (!m_view) {
        return;
    }
    const QPoint frameOffset = frameGeometry().topLeft() - geometry().topLeft();
    const QRect inside = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    WindowPlacement p;
    p.left = inside.left() + frameOffset.x();
    p.top = inside.top() + frameOffset.y();
    p.right = p.left + inside.width();
    p.bottom = p.top + inside.height();
    p.showState = isMaximized() ? kShowMaximized : isMinimized() ? kShowMinimized : kShowNormal;
    m_doc.settings().setWindowPlacement(ss(m_view->windowName()), p);
}

QPrinter& CMainFrame::printer() {
    if (!m_printer) {
        m_printer = new QPrinter(QPrinter::HighResolution);
    }
    return *m_printer;
}

QSize CMainFrame::defaultSize() {
    // Large enough for every column of the time sheet, its range text and its totals, and still
    // within a 1366 x 768 screen with a panel and the window's title bar.
    return {std::min(std::max(1040, CTimeSheetView::neededWidth()), 1366), 620};
}

Rect CMainFrame::workArea() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect a = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    return {a.left(), a.top(), a.left() + a.width(), a.top() + a.height()};
}

void CMainFrame::start() {
    show();
    m_clock1.start(20);
}

void CMainFrame::tick(int clockNumber) {
    // The time sheet that opens by itself reads the transactions: it waits until they are in.
    if (clockNumber == kSecondClock && !m_firstTickDone && !m_doc.transactionsPending()) {
        m_firstTickDone = true;
        m_clock1.setInterval(kSecondClockPeriodMs);
        if (m_doc.settings().autoLoad()) {
            switchTo(command::kTimeSheet);
        }
    }
    Tracker& tracker = m_doc.tracker();
    if (!tracker.viewTarget() && m_view) {
        tracker.setViewTarget(m_view);
    }
    if (tracker.tick(clockNumber) == Tracker::ClockAction::SwitchToMinuteClock) {
        m_clock1.stop();
        m_clock2.start(kMinuteClockPeriodMs);
    }
    showIdleQuestion();
    updateCommands();
}

void CMainFrame::checkIdle() {
    m_doc.pollIdle();
    showIdleQuestion();
}

void CMainFrame::showIdleQuestion() {
    const std::optional<IdleQuestion>& question = m_doc.idleWatch().question();
    if (!question) {
        if (m_idleDialog) {
            m_idleDialog->reject();
        }
        return;
    }
    if (m_idleDialog || QApplication::activeModalWidget() != nullptr) {
        return;
    }
    auto* dialog = new IdleDialog(*question, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_idleDialog = dialog;
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        m_idleDialog = nullptr;
        m_doc.answerIdle(dialog->answer());
        updateCommands();
    });
    dialog->open();
}

void CMainFrame::onSessionEnd(QSessionManager& manager) {
    if (m_doc.tracker().isTracking()) {
        if (manager.allowsInteraction()) {
            const bool ended = endTracking();
            manager.release();
            if (!ended) {
                manager.cancel();
                return;
            }
        } else {
            // No one can be asked: the running time is stored rather than lost with the session.
            m_doc.tracker().forceStop();
        }
    }
    savePlacement();
}

bool CMainFrame::endTracking() {
    Tracker& tracker = m_doc.tracker();
    if (!tracker.isTracking()) {
        return true;
    }
    const std::string end = tracker.running().end().clockTimeNoPad();
    const auto answer =
        m_prompter.ask(fillPlaceholders(tx(text::kEndTracking), {end}), Prompter::Buttons::YesNo,
                       Prompter::Answer::No, Prompter::Icon::Stop);
    if (answer != Prompter::Answer::Yes) {
        return false;
    }
    const bool stopped = tracker.stop();
    updateCommands();
    return stopped;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (showingFloatingView()) {
        event->ignore();
        return;
    }
    if (m_viewNumber != command::kMainWindow) {
        event->ignore();
        if (m_view) {
            m_view->closeRequested();
        }
        return;
    }
    if (!m_exiting && m_tray && m_tray->keepsRunningOnClose()) {
        // The close box leaves the program running in the tray, tracking included.
        event->ignore();
        hide();
        return;
    }
    // Time the transaction file would not take is held until it does: the user decides whether
    // to quit without it.
    if (!endTracking() || !m_doc.mayQuit()) {
        event->ignore();
        return;
    }
    savePlacement();
    m_doc.empty(); // remembers the template for the next start
    event->accept();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void CMainFrame::exitProgram() {
    const QScopedValueRollback exiting(m_exiting, true);
    close();
}

void CMainFrame::refreshTitle() {
    if (showingFloatingView()) {
        const Transaction& running = m_doc.tracker().running();
        const TimeValue worked = running.end() - running.start();
        setWindowTitle(fill(text::kFloatingTitle, {worked.formatDuration(kDurationDayHours)}));
        return;
    }
    QString name = m_doc.hasPath() ? QFileInfo(qs(m_doc.path())).fileName() : tt(text::kUntitled);
    // A local copy carries the extension "lcl"; the user knows the template by its own name.
    if (name.endsWith(".lcl", Qt::CaseInsensitive)) {
        name = name.left(name.size() - 4) + ".tpl";
    }
    setWindowTitle(name + " - " + text::kAppTitle);
}

void CMainFrame::showStatus(const QString& text) {
    statusBar()->showMessage(text);
}

void CMainFrame::refreshViews() {
    if (m_view) {
        m_view->refresh();
    }
    refreshTitle();
    updateCommands();
}

void CMainFrame::newTemplate() {
    m_doc.newDocument();
    refreshViews();
}

void CMainFrame::editLevels() {
    m_doc.prepareForLevelEditing();
    if (m_doc.templateFile().isTreeShape()) {
        switchTo(command::kEditLevelsView);
    } else {
        runLevelSetUp(*this);
    }
}

void CMainFrame::openTemplate() {
    const QString path = m_fileChooser ? m_fileChooser(false)
                                       : QFileDialog::getOpenFileName(this, tr("Open"), QString(),
                                                                      tt(text::kFileFilter));
    if (!path.isEmpty()) {
        openTemplateFile(path);
    }
}

bool CMainFrame::openTemplateFile(const QString& path) {
    m_doc.empty();
    const bool opened = m_doc.open(ss(path));
    if (opened) {
        m_doc.settings().setTemplateLocation(ss(path));
    } else {
        // The reason was shown; nothing of the file is kept, and nothing was written to it.
        m_doc.newDocument();
    }
    refreshViews();
    return opened;
}

bool CMainFrame::openTemplateFileAtStartUp(const QString& path) {
    m_doc.empty();
    if (!m_doc.openTemplate(ss(path))) {
        m_doc.newDocument();
        refreshViews();
        return false;
    }
    m_doc.settings().setTemplateLocation(ss(path));
    refreshViews();
    showStatus(tt(text::kLoadingTransactions));
    updateCommands();
    auto runner = std::make_unique<AfterFirstPaint>([this] { takeInPendingTransactions(); });
    installEventFilter(runner.get());
    m_afterFirstPaint = std::move(runner);
    return true;
}

void CMainFrame::takeInPendingTransactions() {
    if (!m_doc.transactionsPending()) {
        return;
    }
    m_doc.takeInTransactions();
    showStatus(tr("Ready"));
    updateCommands();
}

bool CMainFrame::openHandedFile(const QString& path) {
    // A file handed over while the start-up's transactions are still loading waits for them
    // rather than being dropped.
    if (QApplication::activeModalWidget() == nullptr) {
        takeInPendingTransactions();
    }
    if (QApplication::activeModalWidget() != nullptr || !commandEnabled(command::kOpen)) {
        return false;
    }
    openTemplateFile(path);
    updateCommands();
    return true;
}

void CMainFrame::saveTemplateAs() {
    QString path = m_fileChooser
                       ? m_fileChooser(true)
                       : QFileDialog::getSaveFileName(this, tr("Save As"), qs(m_doc.path()),
                                                      tt(text::kFileFilter));
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QString(".") + tt(text::kDefaultExtension);
    }
    if (m_doc.save(ss(path))) {
        m_doc.settings().setTemplateLocation(ss(path));
    }
    refreshTitle();
}

void CMainFrame::switchLocalCopy() {
    if (m_doc.usingLocalCopy()) {
        m_doc.switchBackFromLocalCopy();
    } else {
        QDir().mkpath(m_localFolder);
        m_doc.switchToLocalCopy(ss(m_localFolder));
    }
    refreshViews();
}

void CMainFrame::startReporting() {
    m_doc.settings().setTemplateLocation(m_doc.path());
    // The reporting tool reads the template location when it starts; a failure to start it is
    // not reported.
    startSiblingProgram(programFolder(), kReportingProgram);
}

std::unique_ptr<remote::MailPort> CMainFrame::makeMailPort() const {
    return m_mailPorts ? m_mailPorts() : remote::makeBridgePort();
}

QString CMainFrame::programFolder() const {
    return m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
}

void CMainFrame::showPreferences() {
    CPreferences sheet(m_doc, m_prompter, this);
    sheet.automatic()->setTrayAvailable(m_tray->desktopHasTray());
    sheet.exec();
    m_tray->applySettings();
    // The titles may have changed, or not: every view shows them anew either way.
    refreshTitles();
}

void CMainFrame::refreshTitles() {
    if (m_view) {
        m_view->refreshTitles();
    }
    updateCommands();
}

void CMainFrame::showHelp(int context, bool trainingCard) {
    if (m_helpViewer) {
        m_helpViewer(context, trainingCard);
        return;
    }
    HelpWindow::showHelp(context, trainingCard);
}

void CMainFrame::showAbout() {
    QDialog dialog(this);
    dialog.setWindowTitle(tr("About Veltimo Solo"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* icon = new QLabel(&dialog);
    icon->setPixmap(pictures::programIcon().pixmap(48, 48));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addWidget(
        new QLabel(tr("<b>Veltimo Solo</b> %1").arg(QCoreApplication::applicationVersion()),
                   &dialog),
        0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(tr("A personal time tracker."), &dialog), 0, Qt::AlignHCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    // The web update check is a program of its own that may not be installed.
    const QString folder = programFolder();
    if (!siblingProgram(folder, kWebUpdateProgram).isEmpty()) {
        QPushButton* update =
            buttons->addButton(tr("Check for &Updates on the Web"), QDialogButtonBox::ActionRole);
        update->setObjectName("webUpdate");
        connect(update, &QPushButton::clicked, &dialog,
                [folder] { startSiblingProgram(folder, kWebUpdateProgram); });
    }
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

} // namespace vsolo
