#include "testregistry.h"
#include "tracker/app/siblings.h"

#include <QTest>

// The programs the tracker starts from its own folder are built into that folder.
class SiblingsTest : public QObject {
    Q_OBJECT
private slots:
    void reportingToolIsBesideTheTracker() {
        const QString folder = QStringLiteral(VSOLO_PROGRAM_FOLDER);
        QVERIFY(!vsolo::siblingProgram(folder, QStringLiteral("vsolo")).isEmpty());
        QCOMPARE(vsolo::siblingProgram(folder, QString::fromLatin1(vsolo::kReportingProgram)),
                 folder + QStringLiteral("/vsreport"));
    }

    void missingProgramIsNotFound() {
        QVERIFY(vsolo::siblingProgram(QStringLiteral(VSOLO_PROGRAM_FOLDER),
                                      QStringLiteral("no-such-program"))
                    .isEmpty());
    }
};
VSOLO_REGISTER_TEST_CLASS(SiblingsTest);

#include "siblings_test.moc"
