#include "tracker/timesheet/daterangedialog.h"

#include "core/document.h"
#include "tracker/timesheet/valueedit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vsolo {

namespace {

QString qText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

std::string_view titleFor(std::string_view key, const Settings& settings) {
    if (key != daterangekey::kSend) {
        return DateRangeDialog::kTitle;
    }
    return settings.remote() ? DateRangeDialog::kSendByEmailTitle : DateRangeDialog::kSendTitle;
}

} // namespace

DateRangeDialog::DateRangeDialog(SettingsStore& store, const Settings& settings,
                                 std::string_view key, Prompter& prompter, const Clock& clock,
                                 QWidget* parent)
    : QDialog(parent), m_store(store), m_key(key), m_prompter(prompter), m_clock(clock),
      m_from(new DateEdit(clock, this)), m_to(new DateEdit(clock, this)),
      m_save(new QCheckBox(qText(kSaveLabel), this)), m_info(new QLabel(this)) {
    setWindowTitle(qText(titleFor(key, settings)));
    buildLayout();
    // The text follows every click on the box, before the user confirms anything.
    connect(m_save, &QCheckBox::toggled, this, [this](bool fixed) { showInfo(fixed); });

    // Whole dates, not the current moment: a dialog shown without load() must still hold a range
    // of days.
    const TimeValue today = m_clock.today();
    const TimeValue halfWidth(kDefaultRangeHalfWidth);
    setRange({today - halfWidth, today + halfWidth, true});
}

DateRange DateRangeDialog::current(const SettingsStore& store, std::string_view key,
                                   const Clock& clock) {
    return loadDateRange(store, key, clock);
}

std::optional<DateRange> DateRangeDialog::ask(QWidget* parent, SettingsStore& store,
                                              const Settings& settings, std::string_view key,
                                              Prompter& prompter, const Clock& clock) {
    DateRangeDialog dialog(store, settings, key, prompter, clock, parent);
    dialog.load();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.range();
}

std::optional<DateRange> DateRangeDialog::ask(QWidget* parent, CSoloDoc& doc, Prompter& prompter,
                                              std::string_view key) {
    return ask(parent, doc.settings().store(), doc.settings(), key, prompter,
               doc.templateFile().clock());
}

void DateRangeDialog::load() {
    setRange(current(m_store, m_key, m_clock));
}

DateRange DateRangeDialog::range() const {
    return {m_from->value(), m_to->value(), m_save->isChecked()};
}

bool DateRangeDialog::tryAccept() {
    // The from date first: its message comes before any about the to date, and a refused one
    // keeps the focus there.
    if (!m_from->validate(m_prompter) || !m_to->validate(m_prompter)) {
        return false;
    }
    const DateRange confirmed = range().ordered();
    // The fields show what was stored, so that a caller reading range() gets from <= to.
    setRange(confirmed);
    // A store that refuses the write still leaves this confirmation in force for the caller; the
    // range only fails to outlive the program.
    storeDateRange(m_store, m_key, confirmed, m_clock);
    QDialog::accept();
    return true;
}

void DateRangeDialog::accept() {
    tryAccept();
}

void DateRangeDialog::buildLayout() {
    auto* fromLabel = new QLabel(qText(kFromLabel), this);
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel(qText(kToLabel), this);
    toLabel->setBuddy(m_to);
    // The long form of a date ("Wednesday, September 30, 2026") must fit without scrolling.
    const int dateWidth =
        m_from->fontMetrics().horizontalAdvance(QStringLiteral("Wednesday, September 30, 2026")) +
        24;
    m_from->setMinimumWidth(dateWidth);
    m_to->setMinimumWidth(dateWidth);

    auto* dates = new QFormLayout;
    dates->addRow(fromLabel, m_from);
    dates->addRow(toLabel, m_to);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DateRangeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DateRangeDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(m_save);
    layout->addWidget(m_info);
    layout->addWidget(buttons);
    setTabOrder(m_from, m_to);
    setTabOrder(m_to, m_save);
}

void DateRangeDialog::setRange(const DateRange& range) {
    m_from->setValue(range.from);
    m_to->setValue(range.to);
    m_save->setChecked(range.fixed);
    // setChecked() signals only a change; the text must match the box either way.
    showInfo(range.fixed);
}

void DateRangeDialog::showInfo(bool fixed) {
    m_info->setText(qText(fixed ? kFixedInfo : kMovingInfo));
}

} // namespace vsolo
