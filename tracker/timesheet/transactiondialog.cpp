#include "tracker/timesheet/transactiondialog.h"

#include "core/document.h"
#include "core/entrytext.h"
#include "core/model/levels.h"
#include "core/model/textcapacity.h"
#include "core/model/transactionformat.h"
#include "tracker/app/qtext.h"
#include "tracker/app/texts.h"
#include "tracker/timesheet/valueedit.h"
#include "tracker/tracking/itemtree.h"
#include "tracker/tracking/pictures.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTransform>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace vsolo {

namespace {

constexpr int kTreeShapeLimit = 255;
constexpr int kLegacyLimit = 60;

// The level-2 item a node stands for; a level-1 item without children stands for none.
LevelItem* level2ItemOf(QTreeWidgetItem* node) {
    return itemtree::selectionOf(node).level2;
}

} // namespace

TransactionDialog::TransactionDialog(TemplateFile& file, Settings& settings, Prompter& prompter,
                                     const Tracker& tracker, const Clock& clock, QWidget* parent)
    : QDialog(parent), m_file(file), m_settings(settings), m_prompter(prompter), m_tracker(tracker),
      m_clock(clock) {
    buildForm();
}

void TransactionDialog::buildForm() {
    setWindowTitle(tt(kEditTransactionTitle));
    m_date = new DateEdit(m_clock, this);
    m_start = new TimeEdit(this);
    m_end = new TimeEdit(this);
    m_total = new TimeEdit(this);
    auto* dateLabel = new QLabel(tr("&Date:"), this);
    auto* startTimeLabel = new QLabel(tr("&Start time:"), this);
    auto* endTimeLabel = new QLabel(tr("&End time:"), this);
    auto* totalLabel = new QLabel(tr("&Total:"), this);
    dateLabel->setBuddy(m_date);
    startTimeLabel->setBuddy(m_start);
    endTimeLabel->setBuddy(m_end);
    totalLabel->setBuddy(m_total);

    // One picture for both quick-fill buttons: pointing left at the start field, and mirrored,
    // pointing at the end field from the other side of the clock.
    const QPixmap picture = pictures::startFromLastPicture(devicePixelRatioF());
    m_startButton = new QToolButton(this);
    m_startButton->setIcon(QIcon(picture));
    m_endButton = new QToolButton(this);
    m_endButton->setIcon(QIcon(picture.transformed(QTransform().scale(-1, 1))));
    for (QToolButton* button : {m_startButton, m_endButton}) {
        button->setIconSize(pictures::startFromLastSize());
        button->setAutoRaise(true);
        // Outside the tab order: the fields come one after another, as typed.
        button->setFocusPolicy(Qt::NoFocus);
    }
    m_startLabel = new QLabel(this);
    m_endLabel = new QLabel(this);

    m_levelTitles = new QLabel(this);
    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setMinimumWidth(220);
    m_levelTitles->setBuddy(m_tree);

    m_itemDescription = new QPlainTextEdit(this);
    m_itemDescription->setReadOnly(true);
    m_itemDescription->setMaximumHeight(70);
    m_itemDescription->setTabChangesFocus(true);
    m_itemDescription->setFocusPolicy(Qt::ClickFocus);
    auto* descriptionLabel = new QLabel(tr("Des&criptions:"), this);
    m_description = new QPlainTextEdit(this);
    m_description->setTabChangesFocus(true);
    descriptionLabel->setBuddy(m_description);

    m_displayAll = new QPushButton(tr("Display &All"), this);
    m_displayAll->setAutoDefault(false);
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(dateLabel, 0, 0);
    fields->addWidget(m_date, 0, 1, 1, 3, Qt::AlignLeft);
    fields->addWidget(startTimeLabel, 1, 0);
    fields->addWidget(m_start, 1, 1);
    fields->addWidget(m_startButton, 1, 2);
    fields->addWidget(m_startLabel, 1, 3);
    fields->addWidget(endTimeLabel, 2, 0);
    fields->addWidget(m_end, 2, 1);
    fields->addWidget(m_endButton, 2, 2);
    fields->addWidget(m_endLabel, 2, 3);
    fields->addWidget(totalLabel, 3, 0);
    fields->addWidget(m_total, 3, 1);
    fields->setColumnStretch(3, 1);
    const int timeWidth = m_start->fontMetrics().horizontalAdvance(QStringLiteral("00:00")) * 2;
    for (TimeEdit* edit : {m_start, m_end, m_total}) {
        edit->setFixedWidth(timeWidth);
    }
    // Room for the longest date shown for reading.
    m_date->setMinimumWidth(
        m_date->fontMetrics().horizontalAdvance(QStringLiteral("Wednesday, September 30, 2026")) +
        timeWidth / 2);

    auto* treeColumn = new QVBoxLayout;
    treeColumn->addWidget(m_levelTitles);
    treeColumn->addWidget(m_tree, 1);
    auto* textColumn = new QVBoxLayout;
    textColumn->addWidget(m_itemDescription);
    textColumn->addWidget(descriptionLabel);
    textColumn->addWidget(m_description, 1);
    auto* items = new QHBoxLayout;
    items->addLayout(treeColumn, 3);
    items->addLayout(textColumn, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_displayAll);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(items, 1);
    layout->addLayout(buttons);

    setTabOrder(m_date, m_start);
    setTabOrder(m_start, m_end);
    setTabOrder(m_end, m_total);
    setTabOrder(m_total, m_tree);
    setTabOrder(m_tree, m_description);
    setTabOrder(m_description, m_ok);
    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_displayAll);
    resize(600, 460);

    connect(m_start, &ValueEdit::valueChanged, this, [this] { startOrEndChanged(); });
    connect(m_end, &ValueEdit::valueChanged, this, [this] { startOrEndChanged(); });
    connect(m_total, &ValueEdit::valueChanged, this, [this] { totalChanged(); });
    connect(m_date, &ValueEdit::valueChanged, this, [this] { dateChanged(); });
    connect(m_startButton, &QToolButton::clicked, this,
            [this] { useQuickFill(m_start, m_previousEnd); });
    connect(m_endButton, &QToolButton::clicked, this, [this] { useQuickFill(m_end, m_nextStart); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { onSelectionChanged(current); });
    connect(m_description, &QPlainTextEdit::textChanged, this, [this] {
        limitDescription();
        if (!m_settingDescription) {
            m_descriptionEdited = true;
        }
    });
    connect(m_displayAll, &QPushButton::clicked, this, &TransactionDialog::displayAll);
    connect(m_ok, &QPushButton::clicked, this, &TransactionDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TransactionDialog::reject);
}

bool TransactionDialog::run(const Transaction& t, bool addMode, const QString& previousEnd,
                            const QString& nextStart, TimeValue rangeFrom, TimeValue rangeTo) {
    prepare(t, addMode, previousEnd, nextStart, rangeFrom, rangeTo);
    return exec() == QDialog::Accepted;
}

void TransactionDialog::present(const Transaction& t, bool addMode, const QString& previousEnd,
                                const QString& nextStart, TimeValue rangeFrom, TimeValue rangeTo) {
    prepare(t, addMode, previousEnd, nextStart, rangeFrom, rangeTo);
    show();
    raise();
    activateWindow();
}

void TransactionDialog::prepare(const Transaction& t, bool addMode, const QString& previousEnd,
                                const QString& nextStart, TimeValue rangeFrom, TimeValue rangeTo) {
    m_working = t;
    m_addMode = addMode;
    m_flags = 0;
    m_previousEnd = previousEnd;
    m_nextStart = nextStart;
    m_rangeFrom = rangeFrom;
    m_rangeTo = rangeTo;
    m_descriptionEdited = false;

    // A title such as "R&D" must show its "&" rather than make a mnemonic of it.
    const std::string title1 = QString::fromStdString(m_settings.level1Title())
                                   .replace('&', QStringLiteral("&&"))
                                   .toStdString();
    const std::string title2 = QString::fromStdString(m_settings.level2Title())
                                   .replace('&', QStringLiteral("&&"))
                                   .toStdString();
    m_levelTitles->setText(fill(kEntryLevelTitlesText, {title1, title2}));
    m_startLabel->setText(fill(kSetStartAtText, {previousEnd.toStdString()}));
    m_startLabel->setVisible(!previousEnd.isEmpty());
    m_startButton->setEnabled(!previousEnd.isEmpty());
    m_endLabel->setText(fill(kSetEndAtText, {nextStart.toStdString()}));
    m_endLabel->setVisible(!nextStart.isEmpty());
    m_endButton->setEnabled(!nextStart.isEmpty());
    for (ValueEdit* edit : std::initializer_list<ValueEdit*>{m_date, m_start, m_end, m_total}) {
        edit->setEnabled(true);
    }
    m_displayAll->setEnabled(true);
    if (m_keptGeometry.isValid()) {
        setGeometry(m_keptGeometry);
    }
    setWindowTitle(tt(addMode ? kAddTransactionTitle : kEditTransactionTitle));

    // The dialog's own selection fills nothing in: the fields are loaded below.
    m_displayAllFlag = true;
    fillTree(false);
    // A transaction on a removed item opens with every item shown, so that its own items stay
    // selected and an OK does not quietly move it to another item.
    if (!selectTransactionItems() && !addMode) {
        fillTree(true);
        m_displayAll->setEnabled(false);
        selectTransactionItems();
    }
    m_displayAllFlag = false;
    showItemDescription(m_tree->currentItem());
    // In add mode a later selection fills the description in; in edit mode it keeps the
    // transaction's own.
    if (m_tree->currentItem()) {
        m_descriptionEdited = !addMode;
    }

    m_date->setValue(t.date());
    m_start->setValue(t.start());
    m_end->setValue(t.end());
    m_total->setValue(TimeValue(t.duration()));
    setDescriptionText(qs(t.description()));
    m_date->setFocus(Qt::OtherFocusReason);
}

std::int32_t TransactionDialog::level1Key(const LevelItem* item) const {
    return itemtree::level1Key(item, m_file.isTreeShape());
}

void TransactionDialog::fillTree(bool all) {
    itemtree::fill(m_tree, m_file, !all);
    m_tree->expandToDepth(0);
}

bool TransactionDialog::selectTransactionItems() {
    const std::int32_t key1 = m_working.level1Key();
    const std::int32_t key2 = m_working.level2Key();
    QTreeWidgetItem* match = nullptr;
    for (QTreeWidgetItemIterator it(m_tree); *it && !match && key1 != 0; ++it) {
        const LevelItem* item = itemtree::itemOf(*it);
        if (!item || level1Key(itemtree::itemOf(itemtree::rootOf(*it))) != key1) {
            continue;
        }
        // A level-2 key of 0 is time recorded on a level-1 item without level-2 items.
        const bool found = key2 == 0 ? !(*it)->parent() && (*it)->childCount() == 0
                                     : item->level() == 2 && item->subId() == key2;
        if (found) {
            match = *it;
        }
    }
    if (match) {
        m_tree->setCurrentItem(match);
        m_tree->scrollToItem(match);
        return true;
    }
    if (m_tree->topLevelItemCount() > 0) {
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
    }
    return false;
}

void TransactionDialog::displayAll() {
    m_displayAllFlag = true;
    fillTree(true);
    m_displayAll->setEnabled(false);
    m_displayAllFlag = false;
    if (m_displayAll->hasFocus() || !focusWidget() || !focusWidget()->isEnabled()) {
        m_tree->setFocus(Qt::OtherFocusReason);
    }
    selectTransactionItems();
}

void TransactionDialog::onSelectionChanged(QTreeWidgetItem* current) {
    if (m_displayAllFlag || !current) {
        return;
    }
    showItemDescription(current);
    if (!m_descriptionEdited) {
        const LevelItem* level2 = level2ItemOf(current);
        setDescriptionText(level2 ? qs(level2->description()) : QString());
        m_flags |= entryflag::kDescriptionFromItem;
    }
}

void TransactionDialog::showItemDescription(QTreeWidgetItem* current) {
    const LevelItem* level1 = itemtree::itemOf(itemtree::rootOf(current));
    m_itemDescription->setPlainText(level1 ? qs(level1->description()) : QString());
}

int TransactionDialog::descriptionLimit() const {
    const int limit = m_file.isTreeShape() ? kTreeShapeLimit : kLegacyLimit;
    // A description stored before the limit applied is never cut by opening it.
    return std::max(limit, static_cast<int>(qs(m_working.description()).size()));
}

void TransactionDialog::limitDescription() {
    const int limit = descriptionLimit();
    const QString text = m_description->toPlainText();
    if (text.size() <= limit) {
        return;
    }
    // Never cut a character in half.
    const int cut = text.at(limit - 1).isHighSurrogate() ? limit - 1 : limit;
    QTextCursor cursor = m_description->textCursor();
    const int position = std::min(cursor.position(), cut);
    const bool setting = m_settingDescription;
    m_settingDescription = true;
    m_description->setPlainText(text.left(cut));
    m_settingDescription = setting;
    cursor = m_description->textCursor();
    cursor.setPosition(position);
    m_description->setTextCursor(cursor);
}

void TransactionDialog::setDescriptionText(const QString& text) {
    m_settingDescription = true;
    m_description->setPlainText(text);
    m_settingDescription = false;
}

void TransactionDialog::startOrEndChanged() {
    m_flags |= entryflag::kTimesChanged;
    if (QApplication::focusWidget() == m_total) {
        m_tree->setFocus(Qt::OtherFocusReason);
    }
    setTotalFromTimes();
    m_total->setEnabled(false);
}

void TransactionDialog::setTotalFromTimes() {
    if (m_start->value() <= m_end->value()) {
        m_total->setValue(m_end->value() - m_start->value());
    } else {
        // Nothing typed in the total is left waiting to be checked; the field just shows nothing.
        m_total->restoreSaved(false);
        m_total->setText(QString());
    }
}

void TransactionDialog::totalChanged() {
    m_flags |= entryflag::kDurationMode;
    QWidget* focus = QApplication::focusWidget();
    if (focus == m_start || focus == m_end) {
        m_date->setFocus(Qt::OtherFocusReason);
    }
    for (TimeEdit* edit : {m_start, m_end}) {
        // A text left unparsed there no longer matters: the placement decides the times.
        edit->restoreSaved(false);
        edit->setEnabled(false);
    }
    // Filling a disabled field would bring back times the placement overrides.
    m_startButton->setEnabled(false);
    m_endButton->setEnabled(false);
}

void TransactionDialog::dateChanged() {
    // The neighbours' times belong to the day the dialog was opened for.
    m_startLabel->hide();
    m_endLabel->hide();
    m_startButton->setEnabled(false);
    m_endButton->setEnabled(false);
    m_flags |= entryflag::kTimesChanged;
}

void TransactionDialog::useQuickFill(TimeEdit* edit, const QString& text) {
    TimeValue value;
    if (!edit->isEnabled() || !value.parseTime(text.toStdString())) {
        return;
    }
    const bool changed = value != edit->value() || edit->needsValidation();
    edit->setValue(value);
    if (changed) {
        startOrEndChanged();
    }
}

bool TransactionDialog::takeOverTyped(ValueEdit* edit) {
    if (!edit->isEnabled() || !edit->needsValidation() || !edit->isModified()) {
        return false;
    }
    const std::string text = edit->text().toStdString();
    const std::optional<TimeValue> parsed =
        edit == m_date ? parseDateEntry(text, m_clock.today()) : parseTimeEntry(text);
    if (!parsed) {
        return false;
    }
    const TimeValue before = edit->value();
    edit->setValue(*parsed);
    return *parsed != before;
}

void TransactionDialog::takeOverPending() {
    if (takeOverTyped(m_total)) {
        totalChanged();
    }
    const bool start = takeOverTyped(m_start);
    const bool end = takeOverTyped(m_end);
    if (start || end) {
        startOrEndChanged();
    }
    if (takeOverTyped(m_date)) {
        dateChanged();
    }
}

ValueEdit* TransactionDialog::fieldOf(EntryField field) const {
    switch (field) {
    case EntryField::Date:
        return m_date;
    case EntryField::Start:
        return m_start;
    case EntryField::End:
        return m_end;
    case EntryField::Total:
        return m_total;
    case EntryField::Tree:
    case EntryField::None:
        break;
    }
    return nullptr;
}

QWidget* TransactionDialog::controlOf(EntryField field) const {
    return field == EntryField::Tree ? static_cast<QWidget*>(m_tree) : fieldOf(field);
}

void TransactionDialog::putBack(const EntryRefusal& refusal) {
    if (QWidget* control = controlOf(refusal.focus)) {
        control->setFocus(Qt::OtherFocusReason);
    }
    m_prompter.show(refusal.message, Prompter::Icon::Warning);
    ValueEdit* field = fieldOf(refusal.field);
    if (!field) {
        return;
    }
    const bool changed = field->value() != refusal.value;
    field->setValue(refusal.value);
    if (!changed) {
        return;
    }
    if (field == m_date) {
        dateChanged();
    } else if (field == m_start || field == m_end) {
        // The times are the dialog's now, but the total may still be typed instead: it only shows
        // what the corrected times make.
        m_flags |= entryflag::kTimesChanged;
        setTotalFromTimes();
    }
}

bool TransactionDialog::tryAccept() {
    takeOverPending();
    QTreeWidgetItem* selected = m_tree->currentItem();
    for (ValueEdit* edit : std::initializer_list<ValueEdit*>{m_date, m_start, m_end, m_total}) {
        if (!edit->validate(m_prompter)) {
            return false;
        }
    }
    EntryValues values;
    values.date = m_date->value();
    values.start = m_start->value();
    values.end = m_end->value();
    values.durationMode = (m_flags & entryflag::kDurationMode) != 0;
    values.hasSelection = selected != nullptr;
    values.selectionHasChildren = selected && selected->childCount() > 0;
    EntryContext context;
    context.rangeFrom = m_rangeFrom;
    context.rangeTo = m_rangeTo;
    context.now = m_clock.now();
    context.running = m_tracker.isTracking() ? &m_tracker.running() : nullptr;
    context.level1Title = m_settings.level1Title();
    context.level2Title = m_settings.level2Title();
    if (const std::optional<EntryRefusal> refusal = checkEntry(values, context)) {
        putBack(*refusal);
        return false;
    }
    // A text the transaction file cannot store is refused here, where it can still be changed.
    const std::string description = m_description->toPlainText().toStdString();
    if (const std::optional<std::string> problem =
            textEntryProblem(description, descriptionCapacity(m_file.transactionLayout()),
                             tx(kDescriptionHoldsText))) {
        m_description->setFocus(Qt::OtherFocusReason);
        m_prompter.show(*problem, Prompter::Icon::Warning);
        return false;
    }

    m_working.setDate(values.date);
    m_working.setStart(values.start);
    m_working.setEnd(values.end);
    const LevelItem* level2 = level2ItemOf(selected);
    m_working.setLevel1Key(level1Key(itemtree::itemOf(itemtree::rootOf(selected))));
    m_working.setLevel2Key(level2 ? level2->subId() : 0);
    m_working.setDescription(description);
    QDialog::accept();
    return true;
}

void TransactionDialog::accept() {
    tryAccept();
}

void TransactionDialog::done(int result) {
    if (isVisible()) {
        m_keptGeometry = geometry();
    }
    QDialog::done(result);
}

TimeValue TransactionDialog::duration() const {
    return m_total->value();
}

EntryCommit TransactionDialog::commit(TransactionStore& store, const Transaction* edited) {
    EntryCommitRequest request;
    request.addMode = m_addMode;
    request.edited = edited;
    request.workingCopy = m_working;
    request.changeFlags = m_flags;
    request.duration = duration();
    request.dayStart = m_settings.dayStart();
    return commitEntry(store, request, m_prompter);
}

} // namespace vsolo
