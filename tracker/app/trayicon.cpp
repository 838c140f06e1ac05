#include "tracker/app/trayicon.h"

#include "platform/singleinstance.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/app/qtext.h"
#include "tracker/app/shownnames.h"
#include "tracker/app/texts.h"
#include "tracker/tracking/pictures.h"
#include "tracker/tracking/soloview.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <algorithm>
#include <optional>

namespace vsolo {

namespace {

// The items an entry of the items tracked last names in the open template; nothing when the
// entry belongs to another template or an item is gone or removed from the list for time entry,
// as the main view would not let it be tracked.
struct NamedItems {
    LevelItem* level1 = nullptr;
    LevelItem* level2 = nullptr;
};

std::optional<NamedItems> itemsOf(const RecentItem& recent, const CSoloDoc& doc) {
    if (recent.templatePath != doc.path()) {
        return std::nullopt;
    }
    const TemplateFile& file = doc.templateFile();
    const Transaction keys(TimeValue(), TimeValue(), TimeValue(), recent.level1Key,
                           recent.level2Key, {});
    NamedItems items{keys.level1Item(file.level1(), file.isTreeShape()), nullptr};
    if (recent.level2Key != 0) {
        items.level2 = keys.level2Item(file.level2(), file.isTreeShape());
        if (!items.level2 || !items.level2->isActive()) {
            return std::nullopt;
        }
    }
    if (!items.level1 || !items.level1->isActive()) {
        return std::nullopt;
    }
    return items;
}

bool isTracked(const RecentItem& recent, const Tracker& tracker) {
    return tracker.isTracking() && tracker.running().level1Key() == recent.level1Key &&
           tracker.running().level2Key() == recent.level2Key;
}

} // namespace

CTrayIcon::CTrayIcon(CMainFrame& frame)
    : m_frame(frame), m_desktopHasTray([] { return QSystemTrayIcon::isSystemTrayAvailable(); }),
      m_menu(std::make_unique<QMenu>()), m_idleIcon(pictures::programIcon()),
      m_trackingIcon(pictures::trackingIcon()),
      m_quitOnLastWindowClosed(QApplication::quitOnLastWindowClosed()) {
    for (std::size_t i = 0; i < m_recent.size(); ++i) {
        m_recent[i] = m_menu->addAction(QString(), this, [this, i] { startRecent(i); });
        m_recent[i]->setCheckable(true);
    }
    m_recentEnd = m_menu->addSeparator();
    m_stop = m_menu->addAction(tt(text::kTrayStop), this, &CTrayIcon::stop);
    m_showHide = m_menu->addAction(QString(), this, &CTrayIcon::showOrHideWindow);
    m_menu->addSeparator();
    m_quit = m_menu->addAction(tt(text::kTrayQuit), this, &CTrayIcon::quit);
    connect(m_menu.get(), &QMenu::aboutToShow, this, &CTrayIcon::refreshMenu);
    m_icon.setContextMenu(m_menu.get());
    m_icon.setIcon(m_idleIcon);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &CTrayIcon::activate);
    m_frame.installEventFilter(this);
    updateShowHideText();
    refresh();
    applySettings();
}

CTrayIcon::~CTrayIcon() {
    QApplication::setQuitOnLastWindowClosed(m_quitOnLastWindowClosed);
}

void CTrayIcon::setDesktopHasTray(std::function<bool()> hasTray) {
    m_desktopHasTray = std::move(hasTray);
    applySettings();
}

void CTrayIcon::applySettings() {
    m_shown = m_frame.document().settings().trayIcon() && m_desktopHasTray();
    m_icon.setVisible(m_shown);
    // While the main window may be hidden, closing another window (a help page) must not end the
    // program as the last window's close would: only the frame's own close path ends it.
    QApplication::setQuitOnLastWindowClosed(m_quitOnLastWindowClosed && !m_shown);
}

bool CTrayIcon::keepsRunningOnClose() const {
    return m_shown && m_frame.document().settings().closeToTray();
}

void CTrayIcon::refresh() {
    noteTrackedItem();
    const bool tracking = m_frame.document().tracker().isTracking();
    // The desktop is told only of changes: every change is a message to the tray.
    if (tracking != m_showsTracking) {
        m_showsTracking = tracking;
        m_icon.setIcon(tracking ? m_trackingIcon : m_idleIcon);
    }
    const QString tip = toolTipText();
    if (tip != m_icon.toolTip()) {
        m_icon.setToolTip(tip);
    }
    refreshMenu();
}

void CTrayIcon::noteTrackedItem() {
    CSoloDoc& doc = m_frame.document();
    const Tracker& tracker = doc.tracker();
    if (!tracker.isTracking() || !doc.hasPath()) {
        return;
    }
    RecentItem item{doc.path(), tracker.running().level1Key(), tracker.running().level2Key()};
    if (item != m_lastNoted) {
        doc.settings().noteRecentItem(item);
        m_lastNoted = std::move(item);
    }
}

QString CTrayIcon::toolTipText() {
    CSoloDoc& doc = m_frame.document();
    const Tracker& tracker = doc.tracker();
    const TemplateFile& file = doc.templateFile();
    const Transaction& running = tracker.running();
    QStringList lines{text::kAppTitle};
    if (tracker.isTracking()) {
        const Settings& settings = doc.settings();
        const auto shown = [this](std::string_view name) { return ss(shownName(*m_menu, name)); };
        lines << fill(text::kTrayItem,
                      {settings.level1Title(),
                       shown(level1Name(running, file.level1(), file.isTreeShape()))})
              << fill(text::kTrayItem,
                      {settings.level2Title(),
                       shown(level2Name(running, file.level2(), file.isTreeShape()))});
    } else {
        lines << tt(text::kTrayNotTracking);
    }
    // Until the transaction file is read at start-up, and when it cannot be read, no figure is
    // better than a wrong one.
    const TimeValue today = file.clock().today();
    std::int64_t worked = 0;
    if (doc.hasPath()) {
        if (doc.transactionsPending() ||
            m_today.update(file.transactionPath(), file.transactionLayout(), today).failed()) {
            return lines.join('\n');
        }
        worked = m_today.seconds();
    } else if (const Day* day = file.store().findDay(today)) {
        worked = day->total(); // a document without a file holds its transactions itself
    }
    if (tracker.isTracking() && running.date() == today) {
        worked += std::max(running.end().seconds() - running.start().seconds(), 0);
    }
    lines << fill(text::kTrayWorkedToday, {formatDuration(worked, kDurationTotal)});
    return lines.join('\n');
}

void CTrayIcon::refreshMenu() {
    CSoloDoc& doc = m_frame.document();
    const bool mayStart =
        !doc.transactionsPending() && (m_frame.currentViewNumber() == command::kMainWindow ||
                                       m_frame.commandEnabled(command::kMainWindow));
    const auto menuName = [this](const LevelItem* item) {
        return ss(shownName(*m_menu, item->name()).replace('&', "&&"));
    };
    m_offered.clear();
    for (const RecentItem& recent : doc.settings().recentItems()) {
        const std::optional<NamedItems> items = itemsOf(recent, doc);
        if (!items) {
            continue;
        }
        QAction* entry = m_recent[m_offered.size()];
        entry->setText(items->level2 ? fill(text::kTrayRecentItem,
                                            {menuName(items->level1), menuName(items->level2)})
                                     : qs(menuName(items->level1)));
        entry->setChecked(isTracked(recent, doc.tracker()));
        entry->setEnabled(mayStart);
        entry->setVisible(true);
        m_offered.push_back(recent);
    }
    for (std::size_t i = m_offered.size(); i < m_recent.size(); ++i) {
        m_recent[i]->setVisible(false);
    }
    m_recentEnd->setVisible(!m_offered.empty());
    m_stop->setEnabled(m_frame.commandEnabled(command::kStop));
}

QList<QAction*> CTrayIcon::recentActions() const {
    QList<QAction*> shown;
    for (QAction* entry : m_recent) {
        if (entry->isVisible()) {
            shown << entry;
        }
    }
    return shown;
}

bool CTrayIcon::questionOpen() {
    if (QApplication::activeModalWidget() == nullptr) {
        return false;
    }
    QApplication::beep();
    return true;
}

bool CTrayIcon::backToMainView() {
    return m_frame.currentViewNumber() == command::kMainWindow ||
           m_frame.switchTo(command::kMainWindow);
}

void CTrayIcon::startRecent(std::size_t index) {
    if (index >= m_offered.size() || questionOpen()) {
        return;
    }
    const RecentItem recent = m_offered[index];
    Tracker& tracker = m_frame.document().tracker();
    if (isTracked(recent, tracker) || !backToMainView()) {
        return;
    }
    if (tracker.isTracking()) {
        m_frame.runCommand(command::kStop);
        if (tracker.isTracking()) {
            return; // the stop was refused, and the user was told why
        }
    }
    const std::optional<NamedItems> items = itemsOf(recent, m_frame.document());
    auto* view = qobject_cast<CSoloView*>(m_frame.currentView());
    if (!items || !view || !view->selectItem(items->level2 ? items->level2 : items->level1)) {
        QApplication::beep();
        return;
    }
    m_frame.runCommand(command::kStart);
}

void CTrayIcon::stop() {
    if (!questionOpen()) {
        m_frame.runCommand(command::kStop);
    }
}

void CTrayIcon::quit() {
    if (!questionOpen() && backToMainView()) {
        m_frame.runCommand(command::kExit);
    }
}

bool CTrayIcon::windowShown() const {
    return m_frame.isVisible() && !m_frame.isMinimized();
}

void CTrayIcon::showOrHideWindow() {
    if (windowShown()) {
        m_frame.hide();
    } else {
        SingleInstance::bringToFront(&m_frame);
    }
}

bool CTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == &m_frame &&
        (type == QEvent::Show || type == QEvent::Hide || type == QEvent::WindowStateChange)) {
        updateShowHideText();
    }
    return false;
}

void CTrayIcon::updateShowHideText() {
    m_showHide->setText(tt(windowShown() ? text::kTrayHide : text::kTrayShow));
}

void CTrayIcon::activate(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) {
        showOrHideWindow();
    }
}

} // namespace vsolo
