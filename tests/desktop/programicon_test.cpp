#include "desktop/programicon.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>

namespace vsolo {

// The window icons come from the PNGs the build renders: each drawing in every size, exactly that
// size, with the drawing itself in the middle rather than an empty or missing picture.
class ProgramIconTest : public QObject {
    Q_OBJECT

private slots:
    void everySizeIsRendered_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("tracker") << int(ProgramIcon::Tracker);
        QTest::newRow("reporting") << int(ProgramIcon::Reporting);
        QTest::newRow("template") << int(ProgramIcon::Template);
    }

    void everySizeIsRendered() {
        QFETCH(int, which);
        const QIcon icon = programIcon(static_cast<ProgramIcon>(which));
        const QList<QSize> wanted{{16, 16}, {32, 32}, {48, 48}, {128, 128}, {256, 256}};
        QCOMPARE(icon.availableSizes(), wanted);
        for (const QSize& size : wanted) {
            const QImage image = icon.pixmap(size).toImage();
            QCOMPARE(image.size(), size);
            QVERIFY2(qAlpha(image.pixel(size.width() / 2, size.height() / 2)) > 0,
                     qPrintable(QStringLiteral("empty at %1").arg(size.width())));
        }
    }
};

} // namespace vsolo

QTEST_MAIN(vsolo::ProgramIconTest)
#include "programicon_test.moc"
