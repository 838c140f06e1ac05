#include "../tracker/testregistry.h"
#include "platform/translations.h"
#include "reporting/clients.h"
#include "reporting/data/reportingdata.h"
#include "reporting/mainframe.h"
#include "reporting/reportingapp.h"
#include "tests/support/reportingbytes.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace vsolo;
using namespace vsolo::reporting;
using namespace vsolo::testing;

namespace {

CMainFrame* shownFrame() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* frame = qobject_cast<CMainFrame*>(window); frame && frame->isVisible()) {
            return frame;
        }
    }
    return nullptr;
}

} // namespace

// The tool started as main() starts it, with LANGUAGE=de: the user reads German, and the
// reporting file it writes holds the bytes it holds in English.
class TranslatedToolTest : public QObject {
    Q_OBJECT
private slots:
    void showsGermanAndWritesTheFileOfEveryLanguage() {
        const TempDir home;
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
            qputenv(name, QByteArray::fromStdString(home.path()));
        }
        QVERIFY(!Translations::install(*qApp).isEmpty());
        // Work.tpl with its transactions and without a reporting file, which the tool tells.
        ByteBuilder tpl = templateHeader(2);
        templateItem(tpl, 1, 0, 0, 0, 1, "Alpha");
        templateItem(tpl, 1, 0, 1, 1, 2, "Build");
        writeBytes(home.file("Work.tpl"), tpl);
        writeBytes(home.file("Work.trs"), transactionHeader());

        QStringList told;
        QTimer boxes;
        connect(&boxes, &QTimer::timeout, [&told] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                told << box->text();
                box->accept();
            } else if (auto* clients = qobject_cast<ClientsManager*>(modal)) {
                clients->addClient();
                clients->accept();
            }
        });
        boxes.start(20);
        QStringList menus;
        QTimer user;
        connect(&user, &QTimer::timeout, [&user, &menus] {
            CMainFrame* frame = shownFrame();
            if (!frame || QApplication::activeModalWidget()) {
                return;
            }
            user.stop();
            for (const QAction* menu : frame->menuBar()->actions()) {
                menus << menu->text();
            }
            frame->action(CMainFrame::Command::Clients)->trigger();
            frame->save();
            frame->close();
        });
        user.start(20);
        CVSReportApp::Options options;
        options.templatePath = QString::fromStdString(home.file("Work.tpl"));
        QCOMPARE(CVSReportApp().run(*qApp, options), 0);

        // The catalogue has German for the texts looked for, and the tool shows it.
        QStringList germanMenus;
        for (const char* menu : {"&File", "&Edit", "&Reports", "&Help"}) {
            germanMenus << QCoreApplication::translate("vsolo::reporting::CMainFrame", menu);
        }
        const QString missing =
            QCoreApplication::translate("vsolo::reporting", kReportingFileMissingText);
        QVERIFY(germanMenus.first() != QLatin1String("&File") &&
                missing != QLatin1String(kReportingFileMissingText));
        QCOMPARE(menus, germanMenus);
        QCOMPARE(told, QStringList{missing});
        // A new client keeps its English name in the file, as every text of the file does.
        ByteBuilder vsr = vsrHeader();
        vsr.i32(0).i32(0).i32(1).i32(1).counted("New Client").i32(2);
        vsr.i32(1).i32(0).counted("").i32(0).i32(1).i32(1).counted("").i32(0);
        QCOMPARE(readBytes(home.file("Work.vsr")), vsr.bytes());
    }
};
VSOLO_REGISTER_OWN_PROCESS_TEST_CLASS(TranslatedToolTest);

#include "translation_test.moc"
