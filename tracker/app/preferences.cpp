#include "tracker/app/preferences.h"

#include "core/document.h"
#include "tracker/app/qtext.h"
#include "tracker/app/texts.h"
#include "tracker/timesheet/valueedit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vsolo {

namespace {

QLineEdit* readOnlyField(const std::string& text, QWidget* parent) {
    auto* field = new QLineEdit(qs(text), parent);
    field->setReadOnly(true);
    field->setCursorPosition(0);
    field->setMinimumWidth(360);
    return field;
}

// A label that hands its mnemonic to `buddy`.
QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

// Asks for the whole of the pages, not the few lines a scroll area asks for by itself; the sheet
// bounds what it asks for by the screen.
class PagesArea final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        return widget() ? widget()->sizeHint() : QScrollArea::sizeHint();
    }
};

} // namespace

CPreferencesPage1::CPreferencesPage1(const CSoloDoc& doc, QWidget* parent)
    : QWidget(parent), m_fileName(readOnlyField(doc.path(), this)),
      m_timeSheet(readOnlyField(doc.templateFile().transactionPath(), this)) {
    auto* form = new QFormLayout(this);
    form->addRow(tr("File name:"), m_fileName);
    form->addRow(tr("Time sheet:"), m_timeSheet);
}

CPreferencesPage2::CPreferencesPage2(QWidget* parent)
    : QWidget(parent), m_level1(new QLineEdit(this)), m_level2(new QLineEdit(this)),
      m_dayStart(new TimeEdit(this)), m_hoursMin(new TimeEdit(this)),
      m_hoursMax(new TimeEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    auto* titles = new QFormLayout;
    titles->addRow(labelFor(tr("L&evel 1 title:"), m_level1, this), m_level1);
    titles->addRow(labelFor(tr("Level 2 title:"), m_level2, this), m_level2);
    layout->addLayout(titles);

    auto* day = new QHBoxLayout;
    day->addWidget(labelFor(tr("M&y day starts at"), m_dayStart, this));
    day->addWidget(m_dayStart);
    day->addWidget(new QLabel(tr("(hh:mm)"), this));
    day->addStretch();
    layout->addLayout(day);

    layout->addWidget(
        new QLabel(tr("Auto-advise when sending time sheet for days that have"), this));
    auto* limits = new QHBoxLayout;
    limits->addWidget(labelFor(tr("&less than"), m_hoursMin, this));
    limits->addWidget(m_hoursMin);
    limits->addWidget(labelFor(tr("&or more than"), m_hoursMax, this));
    limits->addWidget(m_hoursMax);
    limits->addWidget(new QLabel(tr(". (hh:mm)"), this));
    limits->addStretch();
    layout->addLayout(limits);
    layout->addStretch();

    for (QLineEdit* edit : {m_level1, m_level2}) {
        connect(edit, &QLineEdit::textEdited, this, &CPreferencesPage2::changed);
    }
    for (TimeEdit* edit : {m_dayStart, m_hoursMin, m_hoursMax}) {
        connect(edit, &QLineEdit::textEdited, this, &CPreferencesPage2::changed);
    }
}

void CPreferencesPage2::load(const Preferences& p) {
    m_level1->setText(qs(p.level1Title));
    m_level2->setText(qs(p.level2Title));
    m_dayStart->setValue(p.dayStart);
    m_hoursMin->setValue(p.hoursDayMin);
    m_hoursMax->setValue(p.hoursDayMax);
}

void CPreferencesPage2::store(Preferences& p) const {
    p.level1Title = trimmedTitle(ss(m_level1->text()));
    p.level2Title = trimmedTitle(ss(m_level2->text()));
    p.dayStart = m_dayStart->value();
    p.hoursDayMin = m_hoursMin->value();
    p.hoursDayMax = m_hoursMax->value();
}

QWidget* CPreferencesPage2::validate(Prompter& prompter) {
    for (QLineEdit* title : {m_level1, m_level2}) {
        title->setText(qs(trimmedTitle(ss(title->text()))));
    }
    for (QLineEdit* title : {m_level1, m_level2}) {
        if (title->text().isEmpty()) {
            prompter.show(tx(text::kLevelTitleMissing), Prompter::Icon::Warning);
            return title;
        }
    }
    // A time that does not parse gets its last valid value back.
    for (TimeEdit* edit : {m_dayStart, m_hoursMin, m_hoursMax}) {
        if (!edit->validate(prompter)) {
            return edit;
        }
    }
    return nullptr;
}

CPreferencesPage4::CPreferencesPage4(QWidget* parent)
    : QWidget(parent),
      m_autoShrink(new QCheckBox(tr("Auto-&shrink window when tracking time"), this)),
      m_autoSelect(new QCheckBox(tr("Auto stop/start when selecting &new level 1 and 2"), this)),
      m_autoSave(new QCheckBox(tr("Auto-save &time sheet when closing"), this)),
      m_autoLoad(new QCheckBox(tr("Auto-load &time sheet on application startup"), this)),
      m_idleAsk(new QCheckBox(tr("Ask &what to do after"), this)),
      m_idleMinutes(new QSpinBox(this)),
      m_idleUnavailable(new QLabel(tt(text::kIdleUnreadable), this)),
      m_trayIcon(new QCheckBox(tt(text::kTrayIconOption), this)),
      m_closeToTray(new QCheckBox(tt(text::kCloseToTrayOption), this)),
      m_noTray(new QLabel(tt(text::kNoTray), this)) {
    auto* layout = new QVBoxLayout(this);
    for (QCheckBox* box : {m_autoShrink, m_autoSelect, m_autoSave, m_autoLoad}) {
        layout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &CPreferencesPage4::changed);
    }
    m_idleMinutes->setRange(kMinIdleMinutes, kMaxIdleMinutes);
    auto* idle = new QHBoxLayout;
    idle->addWidget(m_idleAsk);
    idle->addWidget(m_idleMinutes);
    idle->addWidget(new QLabel(tr("minutes without keyboard or mouse input"), this));
    idle->addStretch();
    layout->addLayout(idle);
    m_idleUnavailable->setWordWrap(true);
    m_idleUnavailable->hide();
    layout->addWidget(m_idleUnavailable);
    connect(m_idleAsk, &QCheckBox::toggled, this, [this](bool on) {
        m_idleMinutes->setEnabled(on && m_idleAsk->isEnabled());
        emit changed();
    });
    connect(m_idleMinutes, &QSpinBox::valueChanged, this, &CPreferencesPage4::changed);
    for (QCheckBox* box : {m_trayIcon, m_closeToTray}) {
        layout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &CPreferencesPage4::changed);
    }
    layout->addWidget(m_noTray);
    layout->addStretch();
    connect(m_trayIcon, &QCheckBox::toggled, this, &CPreferencesPage4::enableTrayOptions);
    setTrayAvailable(QSystemTrayIcon::isSystemTrayAvailable());
}

void CPreferencesPage4::setTrayAvailable(bool available) {
    m_trayAvailable = available;
    m_noTray->setVisible(!available);
    enableTrayOptions();
}

void CPreferencesPage4::enableTrayOptions() {
    m_trayIcon->setEnabled(m_trayAvailable);
    // Closing into the tray needs the icon that brings the window back.
    m_closeToTray->setEnabled(m_trayAvailable && m_trayIcon->isChecked());
}

void CPreferencesPage4::load(const Preferences& p, bool idleReadable) {
    const QSignalBlocker blocker(this);
    m_autoShrink->setChecked(p.autoShrink);
    m_autoSelect->setChecked(p.autoSelect);
    m_autoSave->setChecked(p.autoSave);
    m_autoLoad->setChecked(p.autoLoad);
    m_idleAsk->setEnabled(idleReadable);
    m_idleAsk->setChecked(p.idleAsk);
    m_idleMinutes->setValue(p.idleMinutes);
    m_idleMinutes->setEnabled(idleReadable && p.idleAsk);
    m_idleUnavailable->setVisible(!idleReadable);
    m_trayIcon->setChecked(p.trayIcon);
    m_closeToTray->setChecked(p.closeToTray);
}

void CPreferencesPage4::store(Preferences& p) const {
    p.autoShrink = m_autoShrink->isChecked();
    p.autoSelect = m_autoSelect->isChecked();
    p.autoSave = m_autoSave->isChecked();
    p.autoLoad = m_autoLoad->isChecked();
    p.idleAsk = m_idleAsk->isChecked();
    p.idleMinutes = m_idleMinutes->value();
    p.trayIcon = m_trayIcon->isChecked();
    p.closeToTray = m_closeToTray->isChecked();
}

CPreferencesPage5::CPreferencesPage5(QWidget* parent)
    : QWidget(parent), m_remote(new QCheckBox(tr("Send time sheet by e-mail"), this)),
      m_assignments(new QCheckBox(tr("Check e-mail for assignment updates"), this)),
      m_mail(new QGroupBox(tr("E-mail Options"), this)), m_logon(new QLineEdit(m_mail)),
      m_password(new QLineEdit(m_mail)), m_from(new QLineEdit(m_mail)),
      m_to(new QLineEdit(m_mail)) {
    m_password->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(m_mail);
    form->addRow(tr("Profile Logon:"), m_logon);
    form->addRow(tr("Password:"), m_password);
    form->addRow(tr("From Address:"), m_from);
    form->addRow(tr("To Address:"), m_to);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_remote);
    layout->addWidget(m_assignments);
    layout->addWidget(m_mail);
    layout->addStretch();
    for (QCheckBox* box : {m_remote, m_assignments}) {
        connect(box, &QCheckBox::toggled, this, [this] {
            showMailOptions();
            emit changed();
        });
    }
    for (QLineEdit* edit : {m_logon, m_password, m_from, m_to}) {
        connect(edit, &QLineEdit::textEdited, this, &CPreferencesPage5::changed);
    }
}

void CPreferencesPage5::load(const Preferences& p, bool managed) {
    const QSignalBlocker remoteBlocker(m_remote);
    const QSignalBlocker assignmentsBlocker(m_assignments);
    m_remote->setChecked(p.remote);
    m_assignments->setChecked(p.remoteAssignments);
    m_logon->setText(qs(p.mapiLogon));
    m_password->setText(qs(p.mapiPassword));
    m_from->setText(qs(p.senderAddress));
    m_to->setText(qs(p.receiverAddress));
    showMailOptions();
    // Sending and assignments are the business of a managed template only.
    for (QWidget* control : findChildren<QWidget*>()) {
        control->setEnabled(managed);
    }
}

void CPreferencesPage5::store(Preferences& p) const {
    p.remote = m_remote->isChecked();
    p.remoteAssignments = m_assignments->isChecked();
    p.mapiLogon = ss(m_logon->text());
    p.mapiPassword = ss(m_password->text());
    p.senderAddress = ss(m_from->text());
    p.receiverAddress = ss(m_to->text());
}

void CPreferencesPage5::showMailOptions() {
    m_mail->setVisible(m_remote->isChecked() || m_assignments->isChecked());
}

CPreferences::CPreferences(CSoloDoc& doc, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_prompter(prompter), m_pages(new QTabWidget(this)),
      m_page2(new CPreferencesPage2), m_page4(new CPreferencesPage4),
      m_page5(new CPreferencesPage5) {
    setWindowTitle(tt(text::kPreferencesCaption));
    const Preferences p = Preferences::read(doc.settings());
    if (doc.hasPath()) {
        m_page1 = new CPreferencesPage1(doc);
        m_pages->addTab(m_page1, tr("File Information"));
    }
    m_pages->addTab(m_page2, tr("Titles && Work Habits"));
    m_pages->addTab(m_page4, tr("Automatic Options"));
    m_pages->addTab(m_page5, tr("Remote Options"));
    m_page2->load(p);
    const IdleSource* idle = doc.idleWatch().source();
    m_page4->load(p, idle && idle->idleSeconds().has_value());
    m_page5->load(p, doc.templateFile().isManaged());
    auto markChanged = [this] { m_changed = true; };
    connect(m_page2, &CPreferencesPage2::changed, this, markChanged);
    connect(m_page4, &CPreferencesPage4::changed, this, markChanged);
    connect(m_page5, &CPreferencesPage5::changed, this, markChanged);
    connect(m_pages, &QTabWidget::currentChanged, this, &CPreferences::pageChanged);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPreferences::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPreferences::reject);
    // The pages scroll where a small screen or a large font leaves them too little room.
    auto* scroll = new PagesArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(m_pages);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    m_shownPage = m_pages->currentIndex();
}

QSize CPreferences::sizeHint() const {
    const QSize wanted = QDialog::sizeHint();
    const QScreen* shownOn = screen();
    return shownOn ? wanted.boundedTo(shownOn->availableGeometry().size()) : wanted;
}

void CPreferences::pageChanged(int index) {
    const int left = m_shownPage;
    m_shownPage = index;
    if (left != m_pages->indexOf(m_page2)) {
        return;
    }
    if (QWidget* control = m_page2->validate(m_prompter)) {
        focusOnTitlesPage(control);
    }
}

void CPreferences::focusOnTitlesPage(QWidget* control) {
    {
        const QSignalBlocker blocker(m_pages);
        m_pages->setCurrentWidget(m_page2);
    }
    m_shownPage = m_pages->currentIndex();
    control->setFocus();
}

void CPreferences::accept() {
    if (QWidget* control = m_page2->validate(m_prompter)) {
        focusOnTitlesPage(control);
        return;
    }
    // From what is stored, so that values no page shows are written back as they are.
    Preferences p = Preferences::read(m_doc.settings());
    m_page2->store(p);
    m_page4->store(p);
    m_page5->store(p);
    if (!applyPreferences(p, m_doc)) {
        m_prompter.show(tx(text::kPreferencesNotStored), Prompter::Icon::Warning);
    }
    QDialog::accept();
}

} // namespace vsolo
