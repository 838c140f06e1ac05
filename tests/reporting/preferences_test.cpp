// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QTest>

// The project headers after the Qt header.
#include "../tracker/testregistry.h"
#include "../tracker/whenshown.h"
#include "reporting/managers.h"
#include "reporting/preferences.h"
#include "tests/support/recordingstore.h"
#include "tests/support/scriptedprompter.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vsolo::reporting {

class PreferencesTest final : public QObject {
    Q_OBJECT

    ReportSettings m_settings;
    vsolo::testing::RecordingStore m_own;
    vsolo::testing::ScriptedPrompter m_prompter;

    std::unique_ptr<PreferencesDialog> dialog() {
        return std::make_unique<PreferencesDialog>(m_settings, m_own, m_prompter);
    }

private slots:
    void init() {
        m_settings = ReportSettings();
        m_settings.taxPercent = 7.5;
        m_settings.soldTo = "Line 1\nLine 2";
        m_own = vsolo::testing::RecordingStore();
        m_prompter.clear();
    }

    void fieldsShowSettingsAndApplyWaitsForAChange() {
        const auto d = dialog();
        QCOMPARE(d->windowTitle(), QString("Preferences"));
        QCOMPARE(d->companyField()->text(), QString("Company Name"));
        QCOMPARE(d->taxField()->text(), QString("7.50"));
        QCOMPARE(d->soldToField()->toPlainText(), QString("Line 1\nLine 2"));
        QCOMPARE(d->clientTermField()->text(), QString("Clients"));
        QVERIFY(!d->applyButton()->isEnabled());
        QTest::keyClick(d->cityField(), Qt::Key_A);
        QVERIFY(d->applyButton()->isEnabled());
    }

    // The tax rate is taken, shown and told as it is stored, and replaces an unreadable one.
    void applyStoresAndWritesEverythingButTheTitles() {
        m_settings.unreadableTax = "7, 5";
        const auto d = dialog();
        QCOMPARE(d->taxField()->text(), QString("7, 5"));
        d->companyField()->setText("Orbit Ltd");
        d->taxField()->setText("8.875");
        d->soldToField()->setPlainText("Ann\nBert");
        d->clientTermField()->setText("Customers");
        d->rateTermField()->setText(QString(20, 'r'));
        d->applyButton()->setEnabled(true);
        QTest::mouseClick(d->applyButton(), Qt::LeftButton);
        QCOMPARE(m_prompter.texts(),
                 std::vector<std::string>{"The tax rate is kept with two decimals: 8.88%."});
        QVERIFY(!d->applyButton()->isEnabled());
        QVERIFY(d->anythingStored());
        QCOMPARE(m_settings.company, std::string("Orbit Ltd"));
        QCOMPARE(m_settings.taxPercent, 8.88);
        QVERIFY(!m_settings.unreadableTax);
        QCOMPARE(d->taxField()->text(), QString("8.88"));
        QCOMPARE(m_settings.soldTo, std::string("Ann\nBert"));
        QCOMPARE(m_settings.clientTerm, std::string("Customers"));
        QCOMPARE(m_settings.rateTerm, std::string(20, 'r'));
        const std::vector<std::string> written{
            "ClientDef",   "RateDef", "ExpenseDef", "Company",        "Street",
            "City",        "State",   "Zip",        "FavoriteReport", "Terms",
            "Description", "Tax",     "FromTime",   "ToTime"};
        QCOMPARE(m_own.writes(), written);
        QCOMPARE(m_own.readText("UserConfig", "Tax"), std::optional<std::string>("8.88"));
        QCOMPARE(m_own.readText("UserConfig", "ClientDef"),
                 std::optional<std::string>("Customers"));
    }

    // The checks in the order of the form; a refused field stores and writes nothing.
    void refusedFields_data() {
        QTest::addColumn<QString>("tax");
        QTest::addColumn<int>("longTerm");
        QTest::addColumn<QString>("message");
        const QString tooLong = "Please enter no more than 20 characters.";
        QTest::newRow("tax not a number") << "seven" << 0 << "Please enter a number.";
        QTest::newRow("tax before terms") << "" << 1 << "Please enter a number.";
        QTest::newRow("negative tax") << "-2" << 0 << "Please enter an amount of 0 or more.";
        QTest::newRow("client term too long") << "1" << 1 << tooLong;
        QTest::newRow("expense term too long") << "1" << 2 << tooLong;
        QTest::newRow("rate term too long") << "1" << 3 << tooLong;
    }
    void refusedFields() {
        QFETCH(QString, tax);
        QFETCH(int, longTerm);
        QFETCH(QString, message);
        const auto d = dialog();
        d->taxField()->setText(tax);
        d->companyField()->setText("Changed");
        QLineEdit* terms[] = {d->clientTermField(), d->expenseTermField(), d->rateTermField()};
        if (longTerm > 0) {
            terms[longTerm - 1]->setText(QString(21, 't'));
        }
        d->accept();
        QCOMPARE(m_prompter.texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(m_settings.company, std::string("Company Name"));
        QVERIFY(m_own.writes().empty());
    }

    // The main form's call: OK stores and writes, Cancel keeps everything as it was.
    void runPreferencesTellsWhetherStored_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void runPreferencesTellsWhetherStored() {
        QFETCH(bool, ok);
        vsolo::testing::whenShown<PreferencesDialog>([ok](PreferencesDialog& d) {
            d.clientTermField()->setText("Patrons");
            ok ? d.accept() : d.reject();
        });
        QCOMPARE(runPreferences(nullptr, m_settings, m_own, m_prompter), ok);
        QCOMPARE(m_settings.clientTerm, std::string(ok ? "Patrons" : "Clients"));
        QCOMPARE(m_own.writes().empty(), !ok);
    }

    void failedWriteIsTold() {
        m_own.refuseAll();
        const auto d = dialog();
        d->accept();
        QCOMPARE(m_prompter.texts(),
                 std::vector<std::string>{"The preferences could not be saved.  They apply until "
                                          "Veltimo Solo Reporting is closed."});
        QCOMPARE(d->result(), int(QDialog::Accepted));
    }
};

VSOLO_REGISTER_TEST_CLASS(PreferencesTest);

} // namespace vsolo::reporting

#include "preferences_test.moc"
