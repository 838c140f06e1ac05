#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QDialog>
#include <QWidget>

// The core after the Qt headers; see above.
#include "core/preferences.h"
#include "core/prompter.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace vsolo {

class CSoloDoc;
class TimeEdit;

// File Information: where the template and its time sheet are kept, read only.
class CPreferencesPage1 final : public QWidget {
    Q_OBJECT
public:
    CPreferencesPage1(const CSoloDoc& doc, QWidget* parent = nullptr);
    QLineEdit* fileName() const { return m_fileName; }
    QLineEdit* timeSheet() const { return m_timeSheet; }

private:
    QLineEdit* m_fileName;
    QLineEdit* m_timeSheet;
};

// Titles && Work Habits: the two level titles, the day start and the daily limits.
class CPreferencesPage2 final : public QWidget {
    Q_OBJECT
public:
    explicit CPreferencesPage2(QWidget* parent = nullptr);
    void load(const Preferences& p);
    void store(Preferences& p) const;
    // Trims both titles and checks the page: an empty title (level 1 first) or a time field whose
    // text is not a time is reported through the prompter. The result is the control that must
    // take the focus, or null when the page is valid.
    QWidget* validate(Prompter& prompter);

    QLineEdit* level1Title() const { return m_level1; }
    QLineEdit* level2Title() const { return m_level2; }
    TimeEdit* dayStart() const { return m_dayStart; }
    TimeEdit* hoursDayMin() const { return m_hoursMin; }
    TimeEdit* hoursDayMax() const { return m_hoursMax; }

signals:
    void changed();

private:
    QLineEdit* m_level1;
    QLineEdit* m_level2;
    TimeEdit* m_dayStart;
    TimeEdit* m_hoursMin;
    TimeEdit* m_hoursMax;
};

// Automatic Options: the four automatic behaviours, the question after time without input and
// the tray icon's two.
class CPreferencesPage4 final : public QWidget {
    Q_OBJECT
public:
    explicit CPreferencesPage4(QWidget* parent = nullptr);
    // Without `idleReadable` (the desktop does not tell the idle time) the question's controls are
    // disabled, and a line says why.
    void load(const Preferences& p, bool idleReadable);
    void store(Preferences& p) const;

    QCheckBox* autoShrink() const { return m_autoShrink; }
    QCheckBox* autoSelect() const { return m_autoSelect; }
    QCheckBox* autoSave() const { return m_autoSave; }
    QCheckBox* autoLoad() const { return m_autoLoad; }
    QCheckBox* idleAsk() const { return m_idleAsk; }
    QSpinBox* idleMinutes() const { return m_idleMinutes; }
    QLabel* idleUnavailable() const { return m_idleUnavailable; }
    QCheckBox* trayIcon() const { return m_trayIcon; }
    QCheckBox* closeToTray() const { return m_closeToTray; }
    QLabel* noTrayNote() const { return m_noTray; }
    // Without a tray on the desktop the tray's options keep their values and cannot be changed;
    // the note below them says why. The page asks the desktop itself unless told.
    void setTrayAvailable(bool available);

signals:
    void changed();

private:
    void enableTrayOptions();

    QCheckBox* m_autoShrink;
    QCheckBox* m_autoSelect;
    QCheckBox* m_autoSave;
    QCheckBox* m_autoLoad;
    QCheckBox* m_idleAsk;
    QSpinBox* m_idleMinutes;
    QLabel* m_idleUnavailable;
    QCheckBox* m_trayIcon;
    QCheckBox* m_closeToTray;
    QLabel* m_noTray;
    bool m_trayAvailable = false;
};

// Remote Options: sending by e-mail, checking for assignment updates, and the mail values, shown
// only while one of the two is checked. The page can be changed only for a managed template.
class CPreferencesPage5 final : public QWidget {
    Q_OBJECT
public:
    explicit CPreferencesPage5(QWidget* parent = nullptr);
    void load(const Preferences& p, bool managed);
    void store(Preferences& p) const;

    QCheckBox* remote() const { return m_remote; }
    QCheckBox* remoteAssignments() const { return m_assignments; }
    QGroupBox* mailOptions() const { return m_mail; }
    QLineEdit* profileLogon() const { return m_logon; }
    QLineEdit* password() const { return m_password; }
    QLineEdit* fromAddress() const { return m_from; }
    QLineEdit* toAddress() const { return m_to; }

signals:
    void changed();

private:
    void showMailOptions();

    QCheckBox* m_remote;
    QCheckBox* m_assignments;
    QGroupBox* m_mail;
    QLineEdit* m_logon;
    QLineEdit* m_password;
    QLineEdit* m_from;
    QLineEdit* m_to;
};

// The Preferences sheet. It is filled from the settings and the document when it is made; OK
// checks the titles and times and writes everything back (see applyPreferences); Cancel writes
// nothing.
class CPreferences final : public QDialog {
    Q_OBJECT
public:
    CPreferences(CSoloDoc& doc, Prompter& prompter, QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }
    // No larger than the screen leaves free: the pages scroll instead.
    QSize sizeHint() const override;
    // Null when the document has no file.
    CPreferencesPage1* fileInformation() const { return m_page1; }
    CPreferencesPage2* titles() const { return m_page2; }
    CPreferencesPage4* automatic() const { return m_page4; }
    CPreferencesPage5* remote() const { return m_page5; }
    bool isChanged() const { return m_changed; }

    void accept() override;

private:
    // Leaving the titles page with an invalid entry brings it back with the focus on that entry.
    void pageChanged(int index);
    // Shows the titles page and puts the focus on `control`.
    void focusOnTitlesPage(QWidget* control);

    CSoloDoc& m_doc;
    Prompter& m_prompter;
    QTabWidget* m_pages;
    CPreferencesPage1* m_page1 = nullptr;
    CPreferencesPage2* m_page2;
    CPreferencesPage4* m_page4;
    CPreferencesPage5* m_page5;
    int m_shownPage = 0;
    bool m_changed = false;
};

} // namespace vsolo
