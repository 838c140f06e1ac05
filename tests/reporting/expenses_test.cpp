// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QTest>

// The project headers after the Qt header.
#include "../tracker/testregistry.h"
#include "dialogfixture.h"
#include "reporting/expenses.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTreeWidget>

namespace vsolo::reporting {

using testing::ReportingFixture;

namespace {

QStringList column(const QTreeWidget* list, int c) {
    QStringList out;
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        out << list->topLevelItem(r)->text(c);
    }
    return out;
}

TimeValue march(int day) {
    TimeValue t;
    t.setDate(2026, 3, day);
    return t + TimeValue(15 * TimeValue::kHour);
}

} // namespace

class ExpensesTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<ReportingFixture> m_f;
    SettableClock m_clock{march(9)};

    std::unique_ptr<ExpensesManager> manager() {
        return std::make_unique<ExpensesManager>(m_f->data, m_f->settings, m_f->prompter, m_clock);
    }
    static std::function<bool(ExpenseDialog&)> enter(int day, QString amount, QString text) {
        return [=](ExpenseDialog& d) {
            if (day > 0) {
                d.dateField()->setDate(QDate(2026, 3, day));
            }
            d.amountField()->setText(amount);
            d.descriptionField()->setText(text);
            d.accept();
            return d.result() == QDialog::Accepted;
        };
    }

private slots:
    void init() { m_f = std::make_unique<ReportingFixture>(); }

    void listShowsFirstProjectsExpensesInListOrder() {
        const auto m = manager();
        QCOMPARE(m->windowTitle(), QString("Costs Manager"));
        QCOMPARE(m->projects()->count(), 2);
        QCOMPARE(m->projects()->itemText(0), QString("Alpha"));
        QCOMPARE(m->projects()->itemText(1), QString("Beta"));
        QCOMPARE(column(m->list(), 0),
                 (QStringList{"Thu, March, 05, 2026", "Sun, March, 01, 2026"}));
        QCOMPARE(column(m->list(), 1), (QStringList{"$ 12.50", "$ 100.00"}));
        QCOMPARE(column(m->list(), 2), (QStringList{"Train", "Hotel"}));
        m->projects()->setCurrentIndex(1);
        QCOMPARE(column(m->list(), 2), QStringList{"Taxi"});
    }

    void addBooksTodaysExpenseToSelectedProjectAtTheTop() {
        const auto m = manager();
        m->projects()->setCurrentIndex(1);
        QDate shown;
        QString title;
        m->runDialog = [&](ExpenseDialog& d) {
            title = d.windowTitle();
            shown = d.dateField()->date();
            return enter(0, "8.4", "Parking")(d);
        };
        m->addExpense();
        QCOMPARE(title, QString("Add/Edit Costs"));
        QCOMPARE(shown, QDate(2026, 3, 9));
        const ExpenseEntry& added = m_f->data.expenses().back();
        QCOMPARE(added.projectNumber, 2);
        QCOMPARE(added.expenseId, 10);
        QCOMPARE(added.reserved, 0);
        QCOMPARE(added.date, ReportingFixture::day(9));
        QCOMPARE(added.amount, 8.4);
        QCOMPARE(column(m->list(), 0),
                 (QStringList{"Mon, March, 09, 2026", "Mon, March, 02, 2026"}));
        QCOMPARE(m->list()->indexOfTopLevelItem(m->list()->selectedItems().front()), 0);
    }

    void refusedAmountKeepsDialogOpen_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a number") << "1.2.3"
                                      << "Please enter a number.";
        QTest::newRow("negative") << "-4"
                                  << "Please enter an amount of 0 or more.";
    }
    void refusedAmountKeepsDialogOpen() {
        QFETCH(QString, amount);
        QFETCH(QString, message);
        const auto m = manager();
        m->runDialog = enter(3, amount, "x");
        m->addExpense();
        QCOMPARE(m_f->prompter.texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(m_f->data.expenses().size(), std::size_t{3});
    }

    // The picker offers only dates whose midnight fits the file's 32-bit seconds.
    void dateStaysWithinStoredRange() {
        ExpenseDialog d(m_f->settings, m_f->prompter);
        d.dateField()->setDate(QDate(2040, 6, 1));
        QCOMPARE(d.dateField()->date(), QDate(2038, 1, 18));
        QVERIFY(d.date() > 0);
        d.dateField()->setDate(QDate(1960, 6, 1));
        QCOMPARE(d.dateField()->date(), QDate(1970, 1, 2));
    }

    void editUpdatesExpenseAndRow() {
        const auto m = manager();
        m->list()->setCurrentItem(m->list()->topLevelItem(1));
        QString shownAmount;
        QDate shownDate;
        m->runDialog = [&](ExpenseDialog& d) {
            shownAmount = d.amountField()->text();
            shownDate = d.dateField()->date();
            return enter(20, "99.99", "Inn")(d);
        };
        m->editExpense();
        QCOMPARE(shownAmount, QString("100"));
        QCOMPARE(shownDate, QDate(2026, 3, 1));
        const ExpenseEntry* hotel = m_f->data.findExpense(2);
        QCOMPARE(hotel->date, ReportingFixture::day(20));
        QCOMPARE(hotel->amount, 99.99);
        QCOMPARE(hotel->description, std::string("Inn"));
        QCOMPARE(m->list()->topLevelItem(1)->text(0), QString("Fri, March 20, 2026"));
        QCOMPARE(m->list()->topLevelItem(1)->text(1), QString("$ 99.99"));
    }

    void deleteRemovesByIdAndSelectsSamePosition() {
        const auto m = manager();
        m->list()->setCurrentItem(m->list()->topLevelItem(0));
        m_f->prompter.queue(Prompter::Answer::Yes);
        m->deleteExpense();
        QCOMPARE(m_f->prompter.texts(),
                 std::vector<std::string>{"Are you sure you want to delete this item?"});
        QVERIFY(m_f->data.findExpense(4) == nullptr);
        QCOMPARE(m_f->data.expenses().size(), std::size_t{2});
        QCOMPARE(column(m->list(), 2), QStringList{"Hotel"});
        QCOMPARE(m->list()->selectedItems().front()->text(2), QString("Hotel"));
    }

    void closingSortsByDate() {
        const auto m = manager();
        m->accept();
        std::vector<std::int32_t> ids;
        for (const ExpenseEntry& e : m_f->data.expenses()) {
            ids.push_back(e.expenseId);
        }
        QCOMPARE(ids, (std::vector<std::int32_t>{2, 9, 4}));
    }
};

VSOLO_REGISTER_TEST_CLASS(ExpensesTest);

} // namespace vsolo::reporting

#include "expenses_test.moc"
