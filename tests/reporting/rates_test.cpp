// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QTest>

// The project headers after the Qt header.
#include "../tracker/testregistry.h"
#include "dialogfixture.h"
#include "reporting/rates.h"

#include <QLineEdit>
#include <QTreeWidget>

namespace vsolo::reporting {

using Answer = Prompter::Answer;

namespace {

std::vector<QStringList> rows(const QTreeWidget* list) {
    std::vector<QStringList> out;
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* item = list->topLevelItem(r);
        out.push_back({item->text(0), item->text(1), item->text(2)});
    }
    return out;
}

int selectedRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
}

} // namespace

class RatesTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ReportingFixture> m_f;

    std::unique_ptr<RatesManager> manager() {
        return std::make_unique<RatesManager>(m_f->data, m_f->settings, m_f->prompter);
    }
    // The rate dialog as the manager runs it: these fields, then OK.
    static std::function<bool(RateDialog&)> enter(QString code, QString amount, QString text) {
        return [=](RateDialog& d) {
            d.codeField()->setText(code);
            d.amountField()->setText(amount);
            d.descriptionField()->setText(text);
            d.accept();
            return d.result() == QDialog::Accepted;
        };
    }

private slots:
    void init() { m_f = std::make_unique<testing::ReportingFixture>(); }

    void listShowsRatesByCodeWithFirstSelected() {
        const auto m = manager();
        QCOMPARE(m->windowTitle(), QString("Fees Manager"));
        const std::vector<QStringList> expected{{"DEV", "72.50", "Coding"},
                                                {"QA", "40.00", "Testing"}};
        QCOMPARE(rows(m->list()), expected);
        QCOMPARE(selectedRow(m->list()), 0);
    }

    // The checks of OK in their order, with the rate term in the messages.
    void dialogChecks_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<int>("edited");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("refused");
        const QString number = "Please enter a number.";
        const QString noCode = "You must enter a code, before the Fees can be added.";
        const QString taken = "All Fees codes must be unique.  Please enter a different code.";
        QTest::newRow("not a number") << "NEW"
                                      << "ten" << -1 << number << "amount";
        QTest::newRow("empty amount") << "NEW"
                                      << "" << -1 << number << "amount";
        QTest::newRow("amount before code") << ""
                                            << "x" << -1 << number << "amount";
        QTest::newRow("negative amount") << "NEW"
                                         << "-0.5" << -1 << "Please enter an amount of 0 or more."
                                         << "amount";
        QTest::newRow("empty code") << ""
                                    << "5" << -1 << noCode << "code";
        QTest::newRow("code taken") << "DEV"
                                    << "5" << -1 << taken << "code";
        QTest::newRow("other's code on edit") << "DEV"
                                              << "5" << 0 << taken << "code";
        QTest::newRow("case differs") << "dev"
                                      << "5" << -1 << ""
                                      << "";
        QTest::newRow("own code on edit") << "DEV"
                                          << "5" << 1 << ""
                                          << "";
        QTest::newRow("zero amount") << "FREE"
                                     << "0" << -1 << ""
                                     << "";
    }
    void dialogChecks() {
        QFETCH(QString, code);
        QFETCH(QString, amount);
        QFETCH(int, edited);
        QFETCH(QString, message);
        QFETCH(QString, refused);
        std::optional<std::size_t> index;
        if (edited >= 0) {
            index = static_cast<std::size_t>(edited);
        }
        RateDialog d(m_f->settings, m_f->data.rates(), index, m_f->prompter);
        QCOMPARE(d.windowTitle(), QString("Add/Edit Fees"));
        enter(code, amount, "text")(d);
        if (message.isEmpty()) {
            QVERIFY(m_f->prompter.empty());
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QCOMPARE(d.rate().code, code.toStdString());
            QCOMPARE(d.rate().amount, amount.toDouble());
            return;
        }
        QCOMPARE(m_f->prompter.texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QLineEdit* field = refused == "code" ? d.codeField() : d.amountField();
        QCOMPARE(field->selectedText(), field->text());
    }

    void addAppendsRateAndRow() {
        const auto m = manager();
        m->runDialog = enter("BA", "55.125", "Analysis");
        m->addRate();
        QCOMPARE(m_f->data.rates().size(), std::size_t{3});
        QCOMPARE(m_f->data.rates().back().code, std::string("BA"));
        QCOMPARE(m_f->data.rates().back().amount, 55.125);
        QCOMPARE(rows(m->list()).front(), (QStringList{"BA", "55.13", "Analysis"}));
        QCOMPARE(selectedRow(m->list()), 0);
    }

    // A changed code goes to the items that named the old one when the user says Yes.
    void editAsksToCarryAChangedCode() {
        const auto m = manager();
        m->list()->setCurrentItem(m->list()->topLevelItem(1));
        QString shownAmount;
        m->runDialog = [&](RateDialog& d) {
            shownAmount = d.amountField()->text();
            return enter("QC", "41", "Checks")(d);
        };
        m->editRate();
        QCOMPARE(shownAmount, QString("40"));
        QCOMPARE(
            m_f->prompter.texts(),
            std::vector<std::string>{"2 items use this code.  Do you want to change them too?"});
        QCOMPARE(m_f->data.rates()[0].code, std::string("QC"));
        QCOMPARE(m_f->data.rates()[0].amount, 41.0);
        QCOMPARE(rows(m->list())[1], (QStringList{"QC", "41.00", "Checks"}));
        m->runDialog = enter("QD", "41", "Checks");
        m_f->prompter.queue(Answer::No);
        m->editRate();
        QCOMPARE(m_f->data.items()[1].rateCode, std::string("QC"));
    }

    void deleteAsksThenClearsItems_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("no") << int(Answer::No);
        QTest::newRow("yes") << int(Answer::Yes);
    }
    void deleteAsksThenClearsItems() {
        QFETCH(int, answer);
        const auto m = manager();
        m->list()->setCurrentItem(m->list()->topLevelItem(1));
        m_f->prompter.queue(static_cast<Answer>(answer));
        m->deleteRate();
        QCOMPARE(m_f->prompter.texts(),
                 std::vector<std::string>{"Are you sure you want to delete this item?"});
        QCOMPARE(m_f->prompter.entries().front().buttons, Prompter::Buttons::YesNo);
        const bool deleted = answer == int(Answer::Yes);
        QCOMPARE(m_f->data.rates().size(), std::size_t{deleted ? 1u : 2u});
        QCOMPARE(m_f->data.items()[1].rateCode, std::string(deleted ? "" : "QA"));
        QCOMPARE(m_f->data.items()[3].rateCode, std::string(deleted ? "" : "QA"));
        QCOMPARE(m->list()->topLevelItemCount(), deleted ? 1 : 2);
        // The last row was deleted: the row now last is selected.
        QCOMPARE(selectedRow(m->list()), deleted ? 0 : 1);
    }

    // Insert adds, Enter edits and Delete deletes, as the buttons do.
    void keysWorkTheButtons() {
        const auto m = manager();
        m->show();
        QVERIFY(QTest::qWaitForWindowActive(m.get()));
        m->list()->setFocus();
        m->runDialog = enter("AAA", "1", "first");
        QTest::keyClick(m->list(), Qt::Key_Insert);
        QCOMPARE(m_f->data.rates().size(), std::size_t{3});
        m->runDialog = enter("AAB", "2", "edited");
        QTest::keyClick(m->list(), Qt::Key_Return);
        QCOMPARE(m_f->data.rates().back().code, std::string("AAB"));
        m_f->prompter.queue(Answer::Yes);
        QTest::keyClick(m->list(), Qt::Key_Delete);
        QCOMPARE(m_f->data.rates().size(), std::size_t{2});
    }

    void deleteWithoutSelectionDoesNothing() {
        const auto m = manager();
        m->list()->clearSelection();
        m->deleteRate();
        QVERIFY(m_f->prompter.empty());
        QCOMPARE(m_f->data.rates().size(), std::size_t{2});
    }
};

VSOLO_REGISTER_TEST_CLASS(RatesTest);

} // namespace vsolo::reporting

#include "rates_test.moc"
