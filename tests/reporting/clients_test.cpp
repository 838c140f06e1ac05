// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QTest>

// The project headers after the Qt header.
#include "../tracker/testregistry.h"
#include "../tracker/whenshown.h"
#include "dialogfixture.h"
#include "reporting/clients.h"
#include "reporting/managers.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace vsolo::reporting {

namespace {

QStringList names(const QListWidget* list) {
    QStringList out;
    for (int r = 0; r < list->count(); ++r) {
        out << list->item(r)->text();
    }
    return out;
}

} // namespace

class ClientsTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ReportingFixture> m_f;

    std::unique_ptr<ClientsManager> manager() {
        return std::make_unique<ClientsManager>(m_f->data, m_f->settings, m_f->prompter);
    }

private slots:
    void init() { m_f = std::make_unique<testing::ReportingFixture>(); }

    void listIsAlphabeticalWithFirstShown() {
        const auto m = manager();
        QCOMPARE(m->windowTitle(), QString("Customers Manager"));
        QCOMPARE(names(m->list()), (QStringList{"Acme", "Midway", "zeta"}));
        QCOMPARE(m->list()->currentRow(), 0);
        QCOMPARE(m->nameField()->text(), QString("Acme"));
        QVERIFY(!m->applyButton()->isEnabled());
        QVERIFY(!m->findChildren<QLabel*>().isEmpty());
        QCOMPARE(m->findChildren<QLabel*>().front()->text(), QString("Customers Name:"));
    }

    void applyIsEnabledExactlyWhenTheNameDiffers() {
        const auto m = manager();
        QTest::keyClick(m->nameField(), Qt::Key_X);
        QVERIFY(m->applyButton()->isEnabled());
        QTest::keyClick(m->nameField(), Qt::Key_Backspace);
        QVERIFY(!m->applyButton()->isEnabled());
    }

    void addMakesNewClientWithNextId() {
        const auto m = manager();
        m->addClient();
        QCOMPARE(m_f->data.clients().back().clientId, 8);
        QCOMPARE(m_f->data.clients().back().name, std::string("New Client"));
        QCOMPARE(m->list()->currentItem()->text(), QString("New Client"));
        QCOMPARE(m->nameField()->selectedText(), QString("New Client"));
        QVERIFY(m->applyButton()->isEnabled());
    }

    void applyRenamesInPlace() {
        const auto m = manager();
        m->list()->setCurrentRow(1);
        m->nameField()->setText("Alpine");
        QTest::keyClick(m->nameField(), Qt::Key_Return);
        QVERIFY(m_f->prompter.empty());
        QCOMPARE(m_f->data.findClient(2)->name, std::string("Alpine"));
        QCOMPARE(names(m->list()), (QStringList{"Acme", "Alpine", "zeta"}));
        QCOMPARE(m->list()->currentRow(), 1);
        QVERIFY(!m->applyButton()->isEnabled());
    }

    // A name of the file too long for it once stored is shown whole and refused, never cut.
    void nameTooLongForTheFileIsRefused() {
        const QString name(5000, QChar(0xE9));
        m_f->data.clients() = {{7, name.toStdString()}};
        const auto m = manager();
        m->applyName();
        QCOMPARE(m_f->prompter.texts().size(), std::size_t{1});
        QVERIFY(m_f->prompter.texts()[0].find("it takes 10000 bytes") != std::string::npos);
        QCOMPARE(m_f->data.clients().front().name, name.toStdString());
    }

    void applyRefusesEmptyName() {
        const auto m = manager();
        m->nameField()->clear();
        m->applyName();
        QCOMPARE(m_f->prompter.texts(),
                 std::vector<std::string>{"This field must contain a value."});
        QCOMPARE(m_f->data.findClient(7)->name, std::string("Acme"));
    }

    void deleteClearsProjectsAndSelectsSamePosition() {
        const auto m = manager();
        m->list()->setCurrentRow(1);
        m_f->prompter.queue(Prompter::Answer::Yes);
        m->deleteClient();
        QCOMPARE(m_f->prompter.texts(),
                 std::vector<std::string>{"Are you sure you want to delete this item?"});
        QVERIFY(m_f->data.findClient(2) == nullptr);
        QCOMPARE(m_f->data.items()[2].clientId, 0);
        QCOMPARE(m_f->data.items()[0].clientId, 7);
        QCOMPARE(names(m->list()), (QStringList{"Acme", "zeta"}));
        QCOMPARE(m->list()->currentRow(), 1);
        QCOMPARE(m->nameField()->text(), QString("zeta"));
    }

    void deletingTheOnlyClientKeepsItsNameShown() {
        m_f->data.clients() = {{5, "Solo"}};
        const auto m = manager();
        m_f->prompter.queue(Prompter::Answer::Yes);
        m->deleteClient();
        QCOMPARE(m->list()->count(), 0);
        QVERIFY(m_f->data.clients().empty());
        QCOMPARE(m->nameField()->text(), QString("Solo"));
        m->deleteClient();
        QCOMPARE(m_f->prompter.texts().size(), std::size_t{1});
    }

    // Through the main form's call, closed with Escape.
    void closingSortsByName() {
        vsolo::testing::whenShown<ClientsManager>(
            [](ClientsManager& m) { QTest::keyClick(&m, Qt::Key_Escape); });
        runClientsManager(nullptr, m_f->data, m_f->settings, m_f->prompter);
        QCOMPARE(m_f->data.clients().front().name, std::string("Acme"));
        QCOMPARE(m_f->data.clients().back().name, std::string("zeta"));
    }
};

VSOLO_REGISTER_TEST_CLASS(ClientsTest);

} // namespace vsolo::reporting

#include "clients_test.moc"
