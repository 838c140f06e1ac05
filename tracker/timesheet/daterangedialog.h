#pragma once

// moc (Qt 6.4) cannot read the C++20 <compare> that the core headers bring in unless a Qt header
// has set up the library's configuration macros first, so the Qt header leads.
#include <QDialog>

// The core types after the Qt header; see above.
#include "core/base/clock.h"
#include "core/daterange.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "core/settingsstore.h"

#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QLabel;

namespace vsolo {

class CSoloDoc;
class DateEdit;

// The dialog in which the user changes the remembered date range of one purpose (the keys of
// daterangekey): two dates and whether they stay fixed or move along with the calendar. It also
// answers the current range of a purpose without being shown.
class DateRangeDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr std::string_view kTitle = "Date Range";
    static constexpr std::string_view kSendByEmailTitle = "Send Time Sheet by E-mail";
    static constexpr std::string_view kSendTitle = "Send Time Sheet";
    static constexpr std::string_view kFromLabel = "&From:";
    static constexpr std::string_view kToLabel = "&To:";
    static constexpr std::string_view kSaveLabel = "&Save date range";
    static constexpr std::string_view kFixedInfo =
        "Will use the dates (to display, print, ...).\r\nWill not advance with time.";
    static constexpr std::string_view kMovingInfo =
        "Will use the date range (to display, print, ...).\r\nWill advance with time.";

    // `settings` decides the title of the "Send" purpose; the range itself is read from and
    // written to `store`. All references must outlive the dialog. The fields start at today
    // +- 15 days, fixed, until load() replaces them.
    DateRangeDialog(SettingsStore& store, const Settings& settings, std::string_view key,
                    Prompter& prompter, const Clock& clock, QWidget* parent = nullptr);

    // The range stored for `key` as of today, as load() would show it.
    static DateRange current(const SettingsStore& store, std::string_view key, const Clock& clock);
    // Loads the stored range, shows the dialog modally and answers the confirmed (and stored)
    // range, or nothing when the user cancelled.
    static std::optional<DateRange> ask(QWidget* parent, SettingsStore& store,
                                        const Settings& settings, std::string_view key,
                                        Prompter& prompter, const Clock& clock);
    // The same on the document's settings and clock, as the views ask it.
    static std::optional<DateRange> ask(QWidget* parent, CSoloDoc& doc, Prompter& prompter,
                                        std::string_view key);

    // Fills the fields from the stored range; shows nothing.
    void load();
    // What the fields hold now: the two dates and the state of the check box. After a successful
    // OK this is the range that was stored, from <= to.
    DateRange range() const;
    const std::string& key() const { return m_key; }

    // What OK does: validates the from date and then the to date (a bad one is reported, gets the
    // focus back and keeps the dialog open), puts the earlier date first, stores the range and
    // closes with Accepted. Returns whether the dialog closed. Usable without exec(), so tests
    // never block.
    bool tryAccept();
    void accept() override;

    DateEdit* fromEdit() const { return m_from; }
    DateEdit* toEdit() const { return m_to; }
    QCheckBox* saveBox() const { return m_save; }
    QLabel* infoLabel() const { return m_info; }

private:
    void buildLayout();
    void setRange(const DateRange& range);
    void showInfo(bool fixed);

    SettingsStore& m_store;
    std::string m_key;
    Prompter& m_prompter;
    const Clock& m_clock;
    DateEdit* m_from;
    DateEdit* m_to;
    QCheckBox* m_save;
    QLabel* m_info;
};

} // namespace vsolo
