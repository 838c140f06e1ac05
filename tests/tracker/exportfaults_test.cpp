// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The time sheet's export made to fail at each write, flush, rename and folder flush, with each
// of ENOSPC, EIO and EACCES: the old file stays, nothing else is left, the user is told.
#include "core/base/faultinjection.h"
#include "core/daterange.h"
#include "shownframe.h"
#include "testregistry.h"
#include "tests/support/filelayouts.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/timesheet/timesheetview.h"

#include <QTest>
#include <cerrno>

namespace vsolo {
namespace {

using faults::Point;

const std::string kOldExport = "old,export\r\n";

// The time sheet of a template with one transaction, exporting to out.csv, which holds an
// export of before.
struct ExportingSheet : testing::ShownFrame {
    std::string out = dir.file("out.csv");

    ExportingSheet() {
        using namespace testing;
        writeBytes(dir.file("work.tpl"),
                   v4Template("Veltimo Solo File", 2, 9,
                              {V4Item{1, 0, 0, 0, 1, 1, 0, "Alpha", "", " "},
                               V4Item{1, 0, 7, 1, 1, 2, 0, "Design", "", " "}}));
        writeBytes(dir.file("work.trs"),
                   records<V4Record>(transactionHeader(),
                                     {V4Record(1, 7, "03/02/2026", "08:00", "10:00", 0, "x")}));
        writeBytes(out, kOldExport);
        openAndShow(dir.file("work.tpl"), daterangekey::kTimeSheet,
                    {date(2026, 3, 1), date(2026, 3, 10), true});
        frame->runCommand(command::kTimeSheet);
        qobject_cast<CTimeSheetView*>(frame->currentView())->setExportChooser([this](ExportFormat) {
            return QString::fromStdString(out);
        });
    }
    void exportRows() { frame->runCommand(command::kExportCsv); }
};

class ExportFaultsTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { faults::reset(); }

    void keepsTheOldFileAndTellsTheError_data() {
        QTest::addColumn<int>("point");
        QTest::addColumn<int>("error");
        const char* const points[] = {"write", "flush", "rename", "folder flush"};
        for (int p = 0; p < 4; ++p) {
            for (const auto& [error, name] : {std::pair{ENOSPC, "ENOSPC"}, std::pair{EIO, "EIO"},
                                              std::pair{EACCES, "EACCES"}}) {
                QTest::addRow("%s %s", points[p], name) << p << error;
            }
        }
    }
    void keepsTheOldFileAndTellsTheError() {
        QFETCH(int, point);
        QFETCH(int, error);
        const auto at = static_cast<Point>(point);
        unsigned calls = 0;
        std::string exported;
        {
            ExportingSheet s;
            faults::count();
            s.exportRows();
            calls = faults::calls(at);
            faults::reset();
            QVERIFY(s.prompter.empty());
            exported = testing::readBytes(s.out);
        }
        QVERIFY2(calls > 0, "the export makes no such call");
        for (unsigned n = 1; n <= calls; ++n) {
            ExportingSheet s;
            faults::arm(at, n, error);
            s.exportRows();
            faults::reset();
            const std::string told =
                error == EACCES ? "a)  Cannot save file " + s.out +
                                      " the file exists, but cannot be written to.\nb)  The "
                                      "network server may be down."
                                : "An error has occurred.  Error#" + std::to_string(error);
            QCOMPARE(s.prompter.texts(), std::vector<std::string>{told});
            // After a folder flush that failed the new file is in place, but it is not known to
            // last.
            QCOMPARE(testing::readBytes(s.out), at == Point::FolderFlush ? exported : kOldExport);
            QCOMPARE(s.dir.entries().size(), std::size_t{3});
        }
    }
};

VSOLO_REGISTER_TEST_CLASS(ExportFaultsTest);

} // namespace
} // namespace vsolo

#include "exportfaults_test.moc"
