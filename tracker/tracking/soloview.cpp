#include "tracker/tracking/soloview.h"

#include "core/document.h"
#include "core/model/textcapacity.h"
#include "core/model/transactionformat.h"
#include "tracker/app/commands.h"
#include "tracker/app/qtext.h"
#include "tracker/app/shownnames.h"
#include "tracker/app/texts.h"
#include "tracker/app/viewhost.h"
#include "tracker/help/helpbook.h"
#include "tracker/timesheet/valueedit.h"
#include "tracker/tracking/itemtree.h"
#include "tracker/tracking/pictures.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vsolo {

namespace {

constexpr int kClockSize = 32;

} // namespace

CSoloView::CSoloView(ViewHost& host)
    : View(command::kMainWindow, "MainWindow", TrackerHelp::MainWindow), m_host(host) {
    buildForm();
    fillTree();
    const bool tracking = tracker().isTracking();
    if (tracking) {
        // Back from another view while tracking: the typed description was taken over already.
        m_settingDescription = true;
        m_description->setPlainText(qs(tracker().running().description()));
        m_settingDescription = false;
        m_descriptionChanged = true;
    }
    m_start->setValue(tracker().running().start());
    m_end->setValue(tracker().running().end());
    setTrackingMode(tracking);
}

Tracker& CSoloView::tracker() const {
    return m_host.tracker();
}

void CSoloView::buildForm() {
    m_date = new QLabel(this);
    QFont dateFont = m_date->font();
    dateFont.setBold(true);
    m_date->setFont(dateFont);
    m_titles = new QLabel(this);
    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setMinimumWidth(220);
    m_titles->setBuddy(m_tree);

    auto* descriptionsLabel = new QLabel(tt(text::kDescriptions), this);
    m_itemDescription = new QPlainTextEdit(this);
    m_itemDescription->setReadOnly(true);
    m_itemDescription->setMaximumHeight(60);
    m_itemDescription->setTabChangesFocus(true);
    descriptionsLabel->setBuddy(m_itemDescription);
    m_description = new QPlainTextEdit(this);
    m_description->setMaximumHeight(80);
    m_description->setTabChangesFocus(true);

    m_start = new TimeEdit(this);
    m_end = new TimeEdit(this);
    auto* startLabel = new QLabel(tt(text::kStartTime), this);
    auto* endLabel = new QLabel(tt(text::kEndTime), this);
    startLabel->setBuddy(m_start);
    endLabel->setBuddy(m_end);

    m_startAtButton = new QToolButton(this);
    m_startAtButton->setIcon(QIcon(pictures::startFromLastPicture()));
    m_startAtButton->setAutoRaise(true);
    m_startAtLabel = new QLabel(this);
    m_clock = new QToolButton(this);
    m_clock->setAutoRaise(true);
    m_clock->setIconSize(QSize(kClockSize, kClockSize));
    m_clock->setFocusPolicy(Qt::NoFocus);

    m_trackingFrame = new QGroupBox(tt(text::kTrackingOn), this);
    m_trackedTitle1 = new QLabel(m_trackingFrame);
    m_trackedTitle2 = new QLabel(m_trackingFrame);
    m_trackedName1 = new QLabel(m_trackingFrame);
    m_trackedName2 = new QLabel(m_trackingFrame);
    m_worked = new QLabel(m_trackingFrame);
    auto* trackingGrid = new QGridLayout(m_trackingFrame);
    trackingGrid->addWidget(m_trackedTitle1, 0, 0);
    trackingGrid->addWidget(m_trackedName1, 0, 1);
    trackingGrid->addWidget(m_trackedTitle2, 1, 0);
    trackingGrid->addWidget(m_trackedName2, 1, 1);
    trackingGrid->addWidget(new QLabel(tt(text::kTimeWorked), m_trackingFrame), 2, 0);
    trackingGrid->addWidget(m_worked, 2, 1);
    trackingGrid->setColumnStretch(1, 1);

    auto* times = new QGridLayout;
    times->addWidget(startLabel, 0, 0);
    times->addWidget(m_start, 0, 1);
    times->addWidget(endLabel, 1, 0);
    times->addWidget(m_end, 1, 1);
    times->addWidget(m_clock, 0, 2, 2, 1);
    auto* startAt = new QHBoxLayout;
    startAt->addWidget(m_startAtButton);
    startAt->addWidget(m_startAtLabel, 1);
    times->addLayout(startAt, 2, 0, 1, 3);
    times->setColumnStretch(1, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(descriptionsLabel);
    right->addWidget(m_itemDescription);
    right->addWidget(m_description);
    right->addLayout(times);
    right->addWidget(m_trackingFrame);
    right->addStretch(1);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_date, 0, 0, 1, 2);
    grid->addWidget(m_titles, 1, 0, 1, 2);
    grid->addWidget(m_tree, 2, 0);
    grid->addLayout(right, 2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(2, 1);
    setMinimumSize(520, 360);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CSoloView::onSelectionChanged);
    // The highlight always shows the current item, which is the tracked one while tracking runs.
    // A click moves the current item first and the highlight after it, so a change of the current
    // item that was refused (and undone) would otherwise leave the clicked item highlighted.
    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CSoloView::keepSelectionOnCurrent);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* node, int) {
        if (node && node->childCount() == 0 && isEnabled(command::kStart)) {
            m_tree->setCurrentItem(node);
            startCommand(false, true);
        }
    });
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) {
        // The project being tracked stays open, so that what is tracked stays in sight.
        if (tracker().isTracking() && !node->parent() && itemtree::itemOf(node) &&
            level1Key(itemtree::itemOf(node)) == tracker().running().level1Key()) {
            m_tree->expandItem(node);
        }
    });
    connect(m_description, &QPlainTextEdit::textChanged, this, [this] {
        limitDescription();
        if (!m_settingDescription) {
            if (!checkTypedDescription()) {
                return;
            }
            m_descriptionChanged = true;
        }
        m_acceptedDescription = m_description->toPlainText();
        // Kept in step while tracking, so that the recovery file holds what is typed.
        if (tracker().isTracking()) {
            tracker().setDescription(m_description->toPlainText().toStdString());
        }
    });
    connect(m_startAtButton, &QToolButton::clicked, this, [this] {
        if (isEnabled(command::kStartFromLast)) {
            startCommand(true, true);
        }
    });
    connect(m_clock, &QToolButton::clicked, this, &CSoloView::advanceClock);
    connect(m_start, &TimeEdit::editingLeft, this, &CSoloView::updateTrackingTexts);
    connect(m_end, &TimeEdit::editingLeft, this, &CSoloView::updateTrackingTexts);
    updateLabels();
}

void CSoloView::limitDescription() {
    const int limit = m_host.document().templateFile().isTreeShape() ? 255 : 60;
    const QString text = m_description->toPlainText();
    if (text.size() > limit) {
        QTextCursor cursor = m_description->textCursor();
        const int position = std::min(cursor.position(), limit);
        m_description->setPlainText(text.left(limit));
        cursor = m_description->textCursor();
        cursor.setPosition(position);
        m_description->setTextCursor(cursor);
    }
}

bool CSoloView::checkTypedDescription() {
    const std::optional<std::string> problem =
        textEntryProblem(m_description->toPlainText().toStdString(),
                         descriptionCapacity(m_host.document().templateFile().transactionLayout()),
                         tx(kDescriptionHoldsText));
    if (!problem) {
        return true;
    }
    const int position = std::min(static_cast<int>(m_acceptedDescription.size()),
                                  m_description->textCursor().position());
    m_settingDescription = true;
    m_description->setPlainText(m_acceptedDescription);
    m_settingDescription = false;
    QTextCursor cursor = m_description->textCursor();
    cursor.setPosition(position);
    m_description->setTextCursor(cursor);
    m_host.prompter().show(*problem, Prompter::Icon::Warning);
    return false;
}

void CSoloView::updateLabels() {
    const Settings& settings = m_host.document().settings();
    m_date->setText(qs(m_host.document().templateFile().clock().today().longDate()));
    setTextWithNames(*m_titles, text::kLevelTitles,
                     {settings.level1Title(), settings.level2Title()});
    setTextWithNames(*m_trackedTitle1, "%s:", {settings.level1Title()});
    setTextWithNames(*m_trackedTitle2, "%s:", {settings.level2Title()});
    updateStartFromLast();
}

void CSoloView::updateStartFromLast() {
    const bool show = !tracker().isTracking() && tracker().canStartFromLast();
    m_startAtLabel->setText(fill(text::kStartAt, {tracker().startFromLastTime().clockTimeNoPad()}));
    m_startAtLabel->setVisible(show);
    m_startAtButton->setVisible(show);
}

std::int32_t CSoloView::level1Key(const LevelItem* item) const {
    return itemtree::level1Key(item, m_host.document().templateFile().isTreeShape());
}

void CSoloView::fillTree() {
    m_refilling = true;
    itemtree::fill(m_tree, m_host.document().templateFile(), !m_displayAll);
    selectRunningItems();
    m_refilling = false;
    // With the automatic stop and start off, the selection only sets the running items.
    const auto [level1, level2] = itemtree::selectionOf(m_tree->currentItem());
    if (!tracker().isTracking()) {
        tracker().setItems(level1Key(level1), level2 ? level2->subId() : 0);
    }
    m_itemDescription->setPlainText(level1 ? qs(level1->description()) : QString());
    if (!m_descriptionChanged) {
        m_settingDescription = true;
        m_description->setPlainText(level2 ? qs(level2->description()) : QString());
        m_settingDescription = false;
    }
}

void CSoloView::selectRunningItems() {
    const Transaction& running = tracker().running();
    QTreeWidgetItem* match = nullptr;
    for (QTreeWidgetItemIterator it(m_tree); *it && !match; ++it) {
        const LevelItem* item = itemtree::itemOf(*it);
        if (item && item->level() == 2 && item->subId() == running.level2Key() &&
            level1Key(itemtree::itemOf(itemtree::rootOf(*it))) == running.level1Key()) {
            match = *it;
        }
    }
    if (!match && m_tree->topLevelItemCount() > 0) {
        // The first project and the first item below it that Start would track.
        match = itemtree::firstLeaf(m_tree->topLevelItem(0));
    }
    // The projects open first: opening to a depth closes everything below it, and the selected
    // item, the one Start tracks, may lie deeper.
    m_tree->expandToDepth(0);
    if (match) {
        for (QTreeWidgetItem* above = match->parent(); above; above = above->parent()) {
            above->setExpanded(true);
        }
        m_tree->setCurrentItem(match);
        m_tree->scrollToItem(match);
    }
}

void CSoloView::keepSelectionOnCurrent() {
    QTreeWidgetItem* current = m_tree->currentItem();
    if (m_refilling || m_keepingSelection || !current || current->isSelected()) {
        return;
    }
    m_keepingSelection = true;
    m_tree->setCurrentItem(current); // selects it alone; the current item stays, nothing restarts
    m_keepingSelection = false;
}

bool CSoloView::selectItem(const LevelItem* item) {
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (itemtree::itemOf(*it) == item) {
            m_tree->setCurrentItem(*it);
            return m_tree->currentItem() == *it;
        }
    }
    return false;
}

void CSoloView::onSelectionChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (m_refilling || !current) {
        return;
    }
    const Qt::KeyboardModifiers modifiers =
        m_modifiers ? m_modifiers() : QGuiApplication::queryKeyboardModifiers();
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool automatic = m_host.document().settings().autoSelect() != shift;
    bool restart = false;
    if (tracker().isTracking() && automatic) {
        stopCommand();
        if (tracker().isTracking()) {
            // The stop was refused: the selection stays where it was.
            m_refilling = true;
            m_tree->setCurrentItem(previous);
            m_refilling = false;
            return;
        }
        restart = true;
    }
    const auto [level1, level2] = itemtree::selectionOf(current);
    m_itemDescription->setPlainText(level1 ? qs(level1->description()) : QString());
    if (!(tracker().isTracking() && m_descriptionChanged)) {
        m_settingDescription = true;
        m_description->setPlainText(level2 ? qs(level2->description()) : QString());
        m_settingDescription = false;
        m_descriptionChanged = false;
    }
    tracker().setItems(level1Key(level1), level2 ? level2->subId() : 0);
    if (tracker().isTracking()) {
        updateTrackingTexts();
    }
    if (restart) {
        startCommand(false, false);
    }
    m_host.updateCommands();
}

bool CSoloView::handles(int c) const {
    return c == command::kStart || c == command::kStartFromLast || c == command::kStop ||
           c == command::kDisplayAllItems;
}

bool CSoloView::isEnabled(int c) const {
    const bool tracking = tracker().isTracking();
    // Until the transactions are in, the last of today is not known and a start could not count
    // from it.
    const bool haveItems =
        m_tree->topLevelItemCount() > 0 && !m_host.document().transactionsPending();
    switch (c) {
    case command::kStart:
        return !tracking && haveItems;
    case command::kStartFromLast:
        return !tracking && haveItems && tracker().canStartFromLast();
    case command::kStop:
        return tracking;
    case command::kDisplayAllItems:
        return true;
    default:
        return false;
    }
}

bool CSoloView::isChecked(int c) const {
    return c == command::kDisplayAllItems && m_displayAll;
}

void CSoloView::run(int c) {
    switch (c) {
    case command::kStart:
        startCommand(false, true);
        break;
    case command::kStartFromLast:
        startCommand(true, true);
        break;
    case command::kStop:
        stopCommand();
        break;
    case command::kDisplayAllItems:
        m_displayAll = !m_displayAll;
        fillTree();
        break;
    default:
        break;
    }
}

void CSoloView::startCommand(bool fromLast, bool allowShrink) {
    if (tracker().isTracking()) {
        QApplication::beep();
        return;
    }
    // What is typed now belongs to the new transaction.
    tracker().setDescription(m_description->toPlainText().toStdString());
    if (!tracker().start(fromLast)) {
        return;
    }
    m_host.updateCommands();
    if (allowShrink && m_host.document().settings().autoShrink()) {
        m_host.runCommand(command::kShrink);
    }
}

void CSoloView::stopCommand() {
    if (!tracker().isTracking()) {
        QApplication::beep();
        return;
    }
    tracker().stop();
    setTrackingMode(tracker().isTracking());
    if (!tracker().isTracking()) {
        m_descriptionChanged = false;
        const auto [level1, level2] = itemtree::selectionOf(m_tree->currentItem());
        m_itemDescription->setPlainText(level1 ? qs(level1->description()) : QString());
    }
    updateLabels();
    m_host.updateCommands();
}

void CSoloView::setTrackingMode(bool on) {
    if (!on) {
        m_tree->setFocus();
        m_start->setValue(tracker().now());
        m_end->setValue(tracker().now());
    }
    m_start->setEnabled(on);
    m_end->setEnabled(on);
    m_trackingFrame->setVisible(on);
    if (on) {
        updateTrackingTexts();
    }
    updateStartFromLast();
    advanceClock();
}

void CSoloView::updateTrackingTexts() {
    if (!tracker().isTracking()) {
        return;
    }
    const TemplateFile& file = m_host.document().templateFile();
    const Transaction& running = tracker().running();
    setTextWithNames(*m_trackedName1, "%s",
                     {level1Name(running, file.level1(), file.isTreeShape())});
    setTextWithNames(*m_trackedName2, "%s",
                     {level2Name(running, file.level2(), file.isTreeShape())});
    // While the typed times are the wrong way round there is no figure to show, never a negative.
    const TimeValue worked = std::max(m_end->value() - m_start->value(), TimeValue(0));
    m_worked->setText(qs(worked.formatDuration(kDurationPadded)) + tt(text::kHoursSuffix));
}

void CSoloView::advanceClock() {
    const bool tracking = tracker().isTracking();
    int& face = tracking ? m_trackingFace : m_idleFace;
    face = (face + 1) % pictures::clockFaceCount(tracking);
    m_clock->setIcon(QIcon(pictures::clockFace(tracking, face, kClockSize)));
}

bool CSoloView::validateAndTakeOver() {
    if (!tracker().isTracking()) {
        return true;
    }
    Prompter& prompter = m_host.prompter();
    if (!m_start->validate(prompter) || !m_end->validate(prompter)) {
        return false;
    }
    const Transaction& running = tracker().running();
    const TimeValue now = tracker().now();
    const bool today = running.date() == m_host.document().templateFile().clock().today();
    // A refused start goes back to the start being tracked, its last accepted value: putting now
    // or the end there would make the next stop store a transaction of no length, that is,
    // nothing.
    if (today && now < m_start->value()) {
        prompter.show(tx(text::kStartAfterEnd), Prompter::Icon::Warning);
        m_start->setValue(running.start());
        m_start->setFocus();
        return false;
    }
    if (today && now < m_end->value()) {
        prompter.show(tx(text::kEndInFuture), Prompter::Icon::Warning);
        m_end->setValue(now);
        return false;
    }
    if (m_end->value() < m_start->value()) {
        prompter.show(tx(text::kStartAfterEnd), Prompter::Icon::Warning);
        m_start->setValue(running.start());
        return false;
    }
    if (tracker().lastEndKnown() && m_start->value() < tracker().lastEnd()) {
        prompter.show(tx(text::kStartOverlaps), Prompter::Icon::Warning);
        m_start->setValue(tracker().lastEnd());
        return false;
    }
    tracker().setStart(m_start->value());
    tracker().setEnd(m_end->value());
    tracker().setDescription(m_description->toPlainText().toStdString());
    return true;
}

bool CSoloView::mayLeave() {
    return validateAndTakeOver();
}

void CSoloView::activated() {
    updateLabels();
}

void CSoloView::refresh() {
    m_descriptionChanged = tracker().isTracking() && m_descriptionChanged;
    fillTree();
    updateLabels();
    setTrackingMode(tracker().isTracking());
}

int CSoloView::trackerNotify(Tracker& engine, int code, int /*value*/) {
    switch (code) {
    case trackercode::kTick:
        m_end->setValue(engine.running().end());
        if (!engine.isTracking()) {
            m_start->setValue(engine.running().start());
        }
        m_date->setText(qs(m_host.document().templateFile().clock().today().longDate()));
        updateStartFromLast();
        updateTrackingTexts();
        advanceClock();
        return 0;
    case trackercode::kStarted:
        m_start->setValue(engine.running().start());
        m_end->setValue(engine.running().end());
        setTrackingMode(true);
        return 0;
    case trackercode::kMayStop:
        return validateAndTakeOver() ? 1 : 0;
    case trackercode::kMayStart:
        return 1;
    default:
        return 0;
    }
}

} // namespace vsolo
