#include "testregistry.h"
#include "tracker/tracking/pictures.h"

#include <QColor>
#include <QCryptographicHash>
#include <QImage>
#include <QSet>
#include <QTest>
#include <array>

namespace vsolo::testing {

namespace {

using pictures::FaceState;

// The toolbar commands that have a picture.
constexpr std::array kCommands{32808, 32809, 32810, 32811, 32844,
                               32797, 32856, 32852, 57603, 57607};

QImage imageOf(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

QByteArray fingerprint(const QPixmap& pixmap) {
    const QImage image = imageOf(pixmap);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(
        QByteArrayView(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    hash.addData(QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height()));
    return hash.result();
}

struct Coverage {
    int opaque = 0;   // pixels with any paint on them
    int coloured = 0; // opaque pixels with clear colour (saturation above 80 of 255)
    int greenish = 0; // coloured pixels whose hue is green
};

Coverage coverageOf(const QPixmap& pixmap) {
    const QImage image = imageOf(pixmap);
    Coverage coverage;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.alpha() < 128) {
                continue;
            }
            ++coverage.opaque;
            if (colour.hsvSaturation() > 80) {
                ++coverage.coloured;
                if (colour.hsvHue() >= 80 && colour.hsvHue() <= 160) {
                    ++coverage.greenish;
                }
            }
        }
    }
    return coverage;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void clockHasElevenTrackingAndTenIdleFaces();
    void everyClockFaceIsItsOwn();
    void clockIndexRunsRoundTheCycle();
    void clockFacesHaveTheSizeAskedFor();
    void trackingFacesAreGreenIdleFacesGrey();
    void everyToolbarCommandHasItsOwnIcon();
    void programIconComesInSeveralSizes();
    void buttonFacesDifferByStateButKeepTheirSize();
    void startFromLastPictureIsDrawn();
    void theThreeLevelPicturesAreDrawnAndDiffer();
};

void PicturesTest::clockHasElevenTrackingAndTenIdleFaces() {
    QCOMPARE(pictures::clockFaceCount(true), 11);
    QCOMPARE(pictures::clockFaceCount(false), 10);
}

void PicturesTest::everyClockFaceIsItsOwn() {
    QSet<QByteArray> seen;
    int faces = 0;
    for (const bool tracking : {true, false}) {
        for (int index = 0; index < pictures::clockFaceCount(tracking); ++index) {
            const QPixmap face = pictures::clockFace(tracking, index, 32);
            QVERIFY(!face.isNull());
            seen.insert(fingerprint(face));
            ++faces;
        }
    }
    // No two faces alike, across both cycles: the hand moves at every step and a running clock
    // never looks like an idle one.
    QCOMPARE(seen.size(), faces);
}

void PicturesTest::clockIndexRunsRoundTheCycle() {
    for (const bool tracking : {true, false}) {
        const int count = pictures::clockFaceCount(tracking);
        QCOMPARE(fingerprint(pictures::clockFace(tracking, count, 32)),
                 fingerprint(pictures::clockFace(tracking, 0, 32)));
        QCOMPARE(fingerprint(pictures::clockFace(tracking, count + 3, 32)),
                 fingerprint(pictures::clockFace(tracking, 3, 32)));
        QCOMPARE(fingerprint(pictures::clockFace(tracking, -1, 32)),
                 fingerprint(pictures::clockFace(tracking, count - 1, 32)));
    }
}

void PicturesTest::clockFacesHaveTheSizeAskedFor() {
    for (const int size : {16, 32, 48}) {
        const QPixmap face = pictures::clockFace(true, 2, size);
        QCOMPARE(face.size(), QSize(size, size));
        // A round face fills most of its square but leaves the corners clear.
        const Coverage coverage = coverageOf(face);
        QVERIFY2(coverage.opaque > size * size / 2, qPrintable(QString::number(size)));
        QCOMPARE(imageOf(face).pixelColor(0, 0).alpha(), 0);
    }
    const QPixmap sharp = pictures::clockFace(false, 0, 32, 2.0);
    QCOMPARE(sharp.size(), QSize(64, 64));
    QCOMPARE(sharp.devicePixelRatio(), 2.0);
    QVERIFY(!pictures::clockFace(true, 0, 0).isNull());
}

void PicturesTest::trackingFacesAreGreenIdleFacesGrey() {
    for (int index = 0; index < pictures::clockFaceCount(false); ++index) {
        const Coverage idle = coverageOf(pictures::clockFace(false, index, 32));
        QVERIFY2(idle.coloured == 0, qPrintable(QString::number(index)));
    }
    for (int index = 0; index < pictures::clockFaceCount(true); ++index) {
        const Coverage tracking = coverageOf(pictures::clockFace(true, index, 32));
        QVERIFY2(tracking.greenish > tracking.opaque / 10, qPrintable(QString::number(index)));
        QVERIFY(tracking.greenish > tracking.coloured / 2);
    }
}

void PicturesTest::everyToolbarCommandHasItsOwnIcon() {
    QSet<QByteArray> seen;
    for (const int command : kCommands) {
        const QIcon icon = pictures::commandIcon(command);
        QVERIFY2(!icon.isNull(), qPrintable(QString::number(command)));
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
        const QPixmap small = icon.pixmap(16, 16);
        QCOMPARE(small.size(), QSize(16, 16));
        QVERIFY2(coverageOf(small).opaque >= 20, qPrintable(QString::number(command)));
        seen.insert(fingerprint(icon.pixmap(32, 32)));
    }
    QCOMPARE(seen.size(), int(kCommands.size()));
    // Commands without a picture get none, so the toolbar shows their text instead.
    QVERIFY(pictures::commandIcon(32771).isNull());
    QVERIFY(pictures::commandIcon(0).isNull());
}

void PicturesTest::programIconComesInSeveralSizes() {
    const QIcon icon = pictures::programIcon();
    QVERIFY(!icon.isNull());
    for (const int size : {16, 32, 48, 256}) {
        QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                 qPrintable(QString::number(size)));
        const QPixmap pixmap = icon.pixmap(size, size);
        QCOMPARE(pixmap.size(), QSize(size, size));
        QVERIFY(coverageOf(pixmap).opaque > size * size / 2);
    }
    // The check mark stands out in green on the clock.
    QVERIFY(coverageOf(icon.pixmap(48, 48)).greenish > 20);
}

void PicturesTest::buttonFacesDifferByStateButKeepTheirSize() {
    QSet<QByteArray> seen;
    for (const FaceState state : {FaceState::Up, FaceState::Down, FaceState::Focused}) {
        for (const QPixmap& face : {pictures::stopFace(state), pictures::detailFace(state)}) {
            QVERIFY(!face.isNull());
            QCOMPARE(face.size(), pictures::faceSize());
            seen.insert(fingerprint(face));
        }
    }
    QCOMPARE(seen.size(), 6);

    // STOP is red: most of its face is strongly coloured; DETAIL is plain.
    const Coverage stop = coverageOf(pictures::stopFace(FaceState::Up));
    const Coverage detail = coverageOf(pictures::detailFace(FaceState::Up));
    QVERIFY(stop.coloured > stop.opaque / 2);
    QVERIFY(detail.coloured < detail.opaque / 10);

    // The focus ring lies outside the face's body: the middle of the face is unchanged, the edge
    // is not.
    const QImage up = imageOf(pictures::stopFace(FaceState::Up));
    const QImage focused = imageOf(pictures::stopFace(FaceState::Focused));
    const QRect middle = up.rect().adjusted(4, 4, -4, -4);
    QCOMPARE(focused.copy(middle), up.copy(middle));
    QVERIFY(focused.pixelColor(1, up.height() / 2) != up.pixelColor(1, up.height() / 2));

    const QPixmap sharp = pictures::detailFace(FaceState::Down, 2.0);
    QCOMPARE(sharp.size(), pictures::faceSize() * 2);
    QCOMPARE(sharp.deviceIndependentSize().toSize(), pictures::faceSize());
}

void PicturesTest::startFromLastPictureIsDrawn() {
    const QPixmap picture = pictures::startFromLastPicture();
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), pictures::startFromLastSize());
    const Coverage coverage = coverageOf(picture);
    QVERIFY(coverage.opaque > 100);
    QVERIFY(coverage.greenish > 20);
}

void PicturesTest::theThreeLevelPicturesAreDrawnAndDiffer() {
    using pictures::LevelPicture;
    QSet<QByteArray> seen;
    for (LevelPicture which :
         {LevelPicture::Level2, LevelPicture::Level1Active, LevelPicture::Level1Removed}) {
        const QPixmap picture = pictures::levelPicture(which);
        QCOMPARE(picture.size(), QSize(16, 16));
        QVERIFY(coverageOf(picture).opaque > 60);
        seen.insert(fingerprint(picture));
    }
    QCOMPARE(seen.size(), 3);
}

VSOLO_REGISTER_OWN_PROCESS_TEST_CLASS(PicturesTest);

} // namespace vsolo::testing

#include "pictures_test.moc"
