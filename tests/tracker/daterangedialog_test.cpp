// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of core/timevalue.h otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "core/daterange.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "testregistry.h"
#include "tests/support/dates.h"
#include "tests/support/scriptedprompter.h"
#include "tracker/timesheet/daterangedialog.h"
#include "tracker/timesheet/valueedit.h"
#include "whenshown.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::date;
using testing::dateTime;
using testing::whenShown;

// The afternoon of a day, so that a dialog that took the moment instead of the date would show.
TimeValue afternoonOf(int y, int m, int d) {
    return dateTime(y, m, d, 14, 30);
}

const QString
    kFixedShown("Will use the dates (to display, print, ...).\nWill not advance with time.");
const QString
    kMovingShown("Will use the date range (to display, print, ...).\nWill advance with time.");
const std::string kDateMessage(
    "Invalid date entry!  Please make sure the date entered is in proper format (mm/dd/yyyy).");

struct Stored {
    std::optional<std::int32_t> from;
    std::optional<std::int32_t> to;
    std::optional<std::int32_t> save;
    friend bool operator==(const Stored&, const Stored&) = default;
};

Stored stored(const SettingsStore& store, const std::string& key) {
    return {store.readInt("UserConfig", key + "FromDate"),
            store.readInt("UserConfig", key + "ToDate"), store.readInt("UserConfig", key + "Save")};
}

Stored storedAs(TimeValue from, TimeValue to, TimeValue save) {
    return {from.seconds(), to.seconds(), save.seconds()};
}

// A user's store and clock, and a shown dialog on them for one key. The dialog is declared last
// so that it goes first: closing it may still parse a typed date with the clock.
struct Setup {
    MemorySettingsStore store;
    Settings settings{store};
    SettableClock clock{afternoonOf(2026, 10, 1)};
    testing::ScriptedPrompter prompter;
    std::unique_ptr<DateRangeDialog> dialog;

    explicit Setup(std::string_view key = daterangekey::kTimeSheet) { open(key); }

    // A fresh dialog, loaded, as a caller makes one for each use.
    DateRangeDialog& open(std::string_view key = daterangekey::kTimeSheet) {
        dialog.reset();
        dialog = std::make_unique<DateRangeDialog>(store, settings, key, prompter, clock);
        dialog->load();
        return *dialog;
    }

    bool shown() {
        dialog->show();
        QApplication::setActiveWindow(&*dialog);
        return QTest::qWaitForWindowActive(&*dialog);
    }
};

void focus(QWidget* widget) {
    widget->setFocus(Qt::TabFocusReason);
    QVERIFY(widget->hasFocus());
}

// Replaces the edit's text by typing; the focus stays in the edit.
void type(DateEdit* edit, const QString& text) {
    focus(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Clicks where the user would: the box is as wide as the dialog, but only its square and its
// text take a click.
void click(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect area = box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box);
    QVERIFY(!area.isEmpty());
    QTest::mouseClick(box, Qt::LeftButton, {}, area.center());
}

// Runs `action` on the date range dialog once its modal loop is running.
void whenShown(std::function<void(DateRangeDialog&)> action) {
    testing::whenShown<DateRangeDialog>(std::move(action));
}

} // namespace

class DateRangeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void withNothingStoredTheRangeIsTodayPlusMinusFifteenDaysFixed() {
        Setup setup;
        const DateRange expected{date(2026, 9, 16), date(2026, 10, 16), true};
        QCOMPARE(setup.dialog->range(), expected);
        QCOMPARE(DateRangeDialog::current(setup.store, daterangekey::kTimeSheet, setup.clock),
                 expected);
        QVERIFY(setup.dialog->saveBox()->isChecked());
        QCOMPARE(setup.dialog->fromEdit()->text(), QString("Wednesday, September 16, 2026"));
        QCOMPARE(setup.dialog->toEdit()->text(), QString("Friday, October 16, 2026"));
        QCOMPARE(setup.dialog->infoLabel()->text(), kFixedShown);
        // Loading never writes.
        QCOMPARE(setup.store.size(), std::size_t{0});

        // Until a range is confirmed the default follows the calendar.
        setup.clock.advance(TimeValue::kDay);
        QCOMPARE(setup.open().range(), (DateRange{date(2026, 9, 17), date(2026, 10, 17), true}));
    }

    void aMovingRangeKeepsItsDistanceFromToday() {
        Setup setup;
        QVERIFY(setup.shown());
        type(setup.dialog->fromEdit(), "09/25/2026");
        type(setup.dialog->toEdit(), "10/01/2026");
        click(setup.dialog->saveBox());
        QVERIFY(!setup.dialog->saveBox()->isChecked());

        QVERIFY(setup.dialog->tryAccept());

        QVERIFY(setup.prompter.empty());
        QCOMPARE(setup.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(stored(setup.store, "TimeSheet"),
                 storedAs(date(2026, 9, 25), date(2026, 10, 1), date(2026, 10, 1)));

        setup.clock.set(afternoonOf(2026, 10, 5));
        const DateRange later{date(2026, 9, 29), date(2026, 10, 5), false};
        QCOMPARE(DateRangeDialog::current(setup.store, daterangekey::kTimeSheet, setup.clock),
                 later);
        DateRangeDialog& reopened = setup.open();
        QCOMPARE(reopened.range(), later);
        QVERIFY(!reopened.saveBox()->isChecked());
        QCOMPARE(reopened.infoLabel()->text(), kMovingShown);
        QCOMPARE(reopened.fromEdit()->text(), QString("Tuesday, September 29, 2026"));
    }

    void okPutsTheEarlierDateFirst() {
        Setup setup;
        QVERIFY(setup.shown());
        click(setup.dialog->saveBox());
        type(setup.dialog->fromEdit(), "10/20/2026");
        type(setup.dialog->toEdit(), "10/10/2026");

        // Through the real button, with the to date still being typed: OK gathers it.
        auto* buttons = setup.dialog->findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        buttons->button(QDialogButtonBox::Ok)->click();

        QVERIFY(setup.prompter.empty());
        QVERIFY(!setup.dialog->isVisible());
        QCOMPARE(setup.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(stored(setup.store, "TimeSheet"),
                 storedAs(date(2026, 10, 10), date(2026, 10, 20), date(2026, 10, 1)));
        // The caller takes the range from the dialog and must get it in order too.
        QCOMPARE(setup.dialog->range(), (DateRange{date(2026, 10, 10), date(2026, 10, 20), false}));
    }

    void anInvalidDateKeepsTheDialogOpen_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("fromRefused");
        QTest::newRow("from") << "13/45/2026"
                              << "10/10/2026" << true;
        QTest::newRow("to") << "10/10/2026"
                            << "2/30" << false;
        // Only the first bad date is reported; the second waits for the next OK.
        QTest::newRow("both") << "4/31"
                              << "99" << true;
    }

    void anInvalidDateKeepsTheDialogOpen() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, fromRefused);
        Setup setup;
        QVERIFY(setup.shown());
        type(setup.dialog->fromEdit(), from);
        type(setup.dialog->toEdit(), to);
        focus(setup.dialog->saveBox());

        QVERIFY(!setup.dialog->tryAccept());

        QCOMPARE(setup.prompter.texts(), std::vector<std::string>{kDateMessage});
        QVERIFY(setup.dialog->isVisible());
        QCOMPARE(setup.dialog->result(), int(QDialog::Rejected));
        QCOMPARE(setup.store.size(), std::size_t{0});
        DateEdit* refused = fromRefused ? setup.dialog->fromEdit() : setup.dialog->toEdit();
        QVERIFY(refused->hasFocus());
        // The refused field is back on the date it held before.
        QCOMPARE(refused->value(), fromRefused ? date(2026, 9, 16) : date(2026, 10, 16));
    }

    void cancelStoresNothing() {
        Setup setup;
        const Stored before = storedAs(date(2026, 1, 5), date(2026, 1, 9), TimeValue(0));
        setup.store.writeInt("UserConfig", "TimeSheetFromDate", *before.from);
        setup.store.writeInt("UserConfig", "TimeSheetToDate", *before.to);
        setup.store.writeInt("UserConfig", "TimeSheetSave", *before.save);
        setup.open();
        QVERIFY(setup.shown());
        type(setup.dialog->fromEdit(), "10/20/2026");
        type(setup.dialog->toEdit(), "10/10/2026");
        click(setup.dialog->saveBox());

        QTest::keyClick(&*setup.dialog, Qt::Key_Escape);

        QVERIFY(!setup.dialog->isVisible());
        QCOMPARE(setup.dialog->result(), int(QDialog::Rejected));
        QCOMPARE(stored(setup.store, "TimeSheet"), before);
        QCOMPARE(setup.store.size(), std::size_t{3});
        QVERIFY(setup.prompter.empty());
    }

    void theInformationFollowsTheBox() {
        Setup setup;
        QVERIFY(setup.shown());
        QCheckBox* box = setup.dialog->saveBox();
        QCOMPARE(setup.dialog->infoLabel()->text(), kFixedShown);

        click(box);
        QCOMPARE(setup.dialog->infoLabel()->text(), kMovingShown);
        focus(box);
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(setup.dialog->infoLabel()->text(), kFixedShown);

        // Clicking changes nothing stored until OK.
        QCOMPARE(setup.store.size(), std::size_t{0});
    }

    void theTitleNamesThePurpose_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("byEmail");
        QTest::addColumn<QString>("title");
        QTest::newRow("time sheet") << "TimeSheet" << true << "Date Range";
        QTest::newRow("reports") << "Reports" << true << "Date Range";
        QTest::newRow("send by e-mail") << "Send" << true << "Send Time Sheet by E-mail";
        QTest::newRow("send to files") << "Send" << false << "Send Time Sheet";
    }

    void theTitleNamesThePurpose() {
        QFETCH(QString, key);
        QFETCH(bool, byEmail);
        QFETCH(QString, title);
        Setup setup;
        QVERIFY(setup.settings.setRemote(byEmail));

        QCOMPARE(setup.open(key.toStdString()).windowTitle(), title);
    }

    void theLabelsLeadToTheirFields() {
        Setup setup;
        std::vector<QString> texts;
        std::vector<QWidget*> buddies;
        for (QLabel* label : setup.dialog->findChildren<QLabel*>()) {
            if (label->buddy()) {
                texts.push_back(label->text());
                buddies.push_back(label->buddy());
            }
        }
        QCOMPARE(texts, (std::vector<QString>{"&From:", "&To:"}));
        QCOMPARE(buddies,
                 (std::vector<QWidget*>{setup.dialog->fromEdit(), setup.dialog->toEdit()}));
        QCOMPARE(setup.dialog->saveBox()->text(), QString("&Save date range"));
    }

    void thePurposesAreIndependent() {
        Setup setup(daterangekey::kReports);
        QVERIFY(setup.shown());
        type(setup.dialog->fromEdit(), "08/01/2026");
        type(setup.dialog->toEdit(), "08/31/2026");
        QVERIFY(setup.dialog->tryAccept());

        setup.open(daterangekey::kSend);
        QVERIFY(setup.shown());
        type(setup.dialog->fromEdit(), "09/28/2026");
        type(setup.dialog->toEdit(), "10/01/2026");
        click(setup.dialog->saveBox());
        QVERIFY(setup.dialog->tryAccept());

        QCOMPARE(stored(setup.store, "Reports"),
                 storedAs(date(2026, 8, 1), date(2026, 8, 31), TimeValue(0)));
        QCOMPARE(stored(setup.store, "Send"),
                 storedAs(date(2026, 9, 28), date(2026, 10, 1), date(2026, 10, 1)));
        QCOMPARE(stored(setup.store, "TimeSheet"), Stored{});
        QCOMPARE(setup.store.size(), std::size_t{6});

        setup.clock.set(afternoonOf(2026, 10, 3));
        auto current = [&](std::string_view key) {
            return DateRangeDialog::current(setup.store, key, setup.clock);
        };
        QCOMPARE(current(daterangekey::kTimeSheet),
                 (DateRange{date(2026, 9, 18), date(2026, 10, 18), true}));
        QCOMPARE(current(daterangekey::kReports),
                 (DateRange{date(2026, 8, 1), date(2026, 8, 31), true}));
        QCOMPARE(current(daterangekey::kSend),
                 (DateRange{date(2026, 9, 30), date(2026, 10, 3), false}));
    }

    void askAnswersTheConfirmedRangeOrNothing() {
        MemorySettingsStore store;
        Settings settings(store);
        QVERIFY(settings.setRemote(true));
        SettableClock clock(afternoonOf(2026, 10, 1));
        testing::ScriptedPrompter prompter;
        QVERIFY(storeDateRange(store, daterangekey::kSend,
                               {date(2026, 9, 1), date(2026, 9, 30), false}, clock));
        clock.set(afternoonOf(2026, 10, 2));

        QString title;
        std::optional<DateRange> shown;
        whenShown([&](DateRangeDialog& dialog) {
            title = dialog.windowTitle();
            shown = dialog.range();
            dialog.reject();
        });
        QCOMPARE(
            DateRangeDialog::ask(nullptr, store, settings, daterangekey::kSend, prompter, clock),
            std::optional<DateRange>());
        QCOMPARE(title, QString("Send Time Sheet by E-mail"));
        // Shown as loaded: moved on by the day since it was confirmed.
        QCOMPARE(shown, (std::optional<DateRange>{{date(2026, 9, 2), date(2026, 10, 1), false}}));
        QCOMPARE(stored(store, "Send"),
                 storedAs(date(2026, 9, 1), date(2026, 9, 30), date(2026, 10, 1)));

        whenShown([](DateRangeDialog& dialog) {
            dialog.saveBox()->setChecked(true);
            QVERIFY(dialog.tryAccept());
        });
        const std::optional<DateRange> confirmed =
            DateRangeDialog::ask(nullptr, store, settings, daterangekey::kSend, prompter, clock);

        const DateRange expected{date(2026, 9, 2), date(2026, 10, 1), true};
        QCOMPARE(confirmed, std::optional<DateRange>(expected));
        QCOMPARE(stored(store, "Send"),
                 storedAs(date(2026, 9, 2), date(2026, 10, 1), TimeValue(0)));
        QVERIFY(prompter.empty());
    }
};

VSOLO_REGISTER_TEST_CLASS(DateRangeDialogTest);

} // namespace vsolo

#include "daterangedialog_test.moc"
