#include "platform/helpwindow.h"
#include "testregistry.h"
#include "tracker/help/helpbook.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QtMath>

// The program's own help page is compiled into this test; resources must be initialised outside
// any namespace.
static void initHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace vsolo::testing {

namespace {

const QUrl kPage(QStringLiteral("qrc:/help/index.html"));

// Every anchor name in a document, with the position where it stands.
QHash<QString, int> anchorsOf(const QTextDocument& document) {
    QHash<QString, int> anchors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            for (const QString& name : fragment.charFormat().anchorNames()) {
                anchors.insert(name, fragment.position());
            }
        }
    }
    return anchors;
}

QStringList linksOf(const QTextDocument& document) {
    QStringList links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor() && !format.anchorHref().isEmpty()) {
                links << format.anchorHref();
            }
        }
    }
    return links;
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void eachContextHasItsOwnAnchor();
    void pageHoldsEveryAnchorAndOnlyInnerLinks();
    void opensAtTheAnchorOfEachContext_data();
    void opensAtTheAnchorOfEachContext();
    void trainingCardIsASmallWindowOnTop();
    void closingTheMainWindowEndsTheProgramWithHelpOpen();
};

void HelpWindowTest::initTestCase() {
    initHelpResources();
    QVERIFY(QFile::exists(QStringLiteral(":/help/index.html")));
    HelpWindow::setBook(TrackerHelp::book());
    QCOMPARE(HelpWindow::page(), kPage);
}

void HelpWindowTest::cleanup() {
    for (const bool card : {false, true}) {
        if (HelpWindow* window = HelpWindow::openWindow(card)) {
            window->close();
        }
    }
    QTRY_VERIFY(HelpWindow::openWindow(false) == nullptr &&
                HelpWindow::openWindow(true) == nullptr);
}

void HelpWindowTest::eachContextHasItsOwnAnchor() {
    QSet<QString> anchors;
    for (int context = 0; context <= 5; ++context) {
        anchors.insert(HelpWindow::anchorOf(context));
    }
    QCOMPARE(anchors.size(), 6);
    QCOMPARE(HelpWindow::anchorOf(TrackerHelp::FirstSteps), QStringLiteral("first-steps"));
    // A context the help does not know opens the contents rather than nothing.
    QCOMPARE(HelpWindow::anchorOf(6), HelpWindow::anchorOf(TrackerHelp::Contents));
    QCOMPARE(HelpWindow::anchorOf(-1), HelpWindow::anchorOf(TrackerHelp::Contents));
}

void HelpWindowTest::pageHoldsEveryAnchorAndOnlyInnerLinks() {
    HelpWindow::showHelp(TrackerHelp::Contents, false);
    HelpWindow* window = HelpWindow::openWindow(false);
    QVERIFY(window != nullptr);
    const QTextDocument& page = *window->browser()->document();
    const QHash<QString, int> anchors = anchorsOf(page);
    for (int context = 0; context <= 5; ++context) {
        QVERIFY2(anchors.contains(HelpWindow::anchorOf(context)),
                 qPrintable(HelpWindow::anchorOf(context)));
    }
    // Every link leads to a place on the page; nothing points outside the program.
    const QStringList links = linksOf(page);
    QVERIFY(links.size() >= 6);
    for (const QString& link : links) {
        QVERIFY2(link.startsWith(QLatin1Char('#')), qPrintable(link));
        QVERIFY2(anchors.contains(link.mid(1)), qPrintable(link));
    }
    QVERIFY(!page.toPlainText().contains(QStringLiteral("http"), Qt::CaseInsensitive));
}

void HelpWindowTest::opensAtTheAnchorOfEachContext_data() {
    QTest::addColumn<int>("context");
    QTest::addColumn<bool>("card");
    for (const bool card : {false, true}) {
        for (int context = 0; context <= 5; ++context) {
            const QByteArray name = (card ? "card " : "help ") + QByteArray::number(context);
            QTest::newRow(name.constData()) << context << card;
        }
    }
}

// Checks that the open help window of that kind shows the context's anchor.
void verifyShownAt(int context, bool card) {
    HelpWindow* window = HelpWindow::openWindow(card);
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(window->isTrainingCard(), card);

    QTextBrowser* browser = window->browser();
    const QString anchor = HelpWindow::anchorOf(context);
    QCOMPARE(browser->source().adjusted(QUrl::RemoveFragment), kPage);
    QCOMPARE(browser->source().fragment(), anchor);

    // The anchor's heading is in view, at the top unless the page cannot scroll that far.
    const int position = anchorsOf(*browser->document()).value(anchor, -1);
    QVERIFY(position >= 0);
    QTextCursor cursor(browser->document());
    cursor.setPosition(position);
    const QRect where = browser->cursorRect(cursor);
    const QScrollBar* scroll = browser->verticalScrollBar();
    QVERIFY2(where.top() >= -2 && where.bottom() <= browser->viewport()->height(),
             qPrintable(QStringLiteral("anchor at y=%1").arg(where.top())));
    QVERIFY2(where.top() <= 2 || scroll->value() == scroll->maximum(),
             qPrintable(QStringLiteral("anchor at y=%1").arg(where.top())));
    // The contents stand at the top of the page, within its margin; every other context lies
    // further down.
    const int margin = qCeil(browser->document()->documentMargin());
    if (context == TrackerHelp::Contents) {
        QVERIFY(scroll->value() <= margin);
    } else {
        QVERIFY(scroll->value() > margin);
    }
}

void HelpWindowTest::opensAtTheAnchorOfEachContext() {
    QFETCH(int, context);
    QFETCH(bool, card);
    // A window that opens for the first time, before it has its size, ...
    HelpWindow::showHelp(context, card);
    verifyShownAt(context, card);
    if (QTest::currentTestFailed()) {
        return;
    }
    // ... and one that is open at another place.
    const int elsewhere =
        context == TrackerHelp::LevelEditor ? TrackerHelp::Contents : TrackerHelp::LevelEditor;
    HelpWindow::showHelp(elsewhere, card);
    verifyShownAt(elsewhere, card);
    if (QTest::currentTestFailed()) {
        return;
    }
    HelpWindow::showHelp(context, card);
    verifyShownAt(context, card);
    if (QTest::currentTestFailed()) {
        return;
    }
    // Asking again for the same place after the reader has scrolled away goes back to it.
    QScrollBar* scroll = HelpWindow::openWindow(card)->browser()->verticalScrollBar();
    scroll->setValue(context == TrackerHelp::Contents ? scroll->maximum() : 0);
    HelpWindow::showHelp(context, card);
    verifyShownAt(context, card);
}

void HelpWindowTest::trainingCardIsASmallWindowOnTop() {
    HelpWindow::showHelp(TrackerHelp::MainWindow, false);
    HelpWindow::showHelp(TrackerHelp::FirstSteps, true);
    HelpWindow* help = HelpWindow::openWindow(false);
    HelpWindow* card = HelpWindow::openWindow(true);
    QVERIFY(help != nullptr && card != nullptr);
    QVERIFY(help != card);

    QVERIFY(card->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(card->windowType(), Qt::Tool);
    QVERIFY(!help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(help->windowType(), Qt::Window);
    QVERIFY(card->width() < help->width() && card->height() < help->height());

    // The card is reused at another context rather than opened twice.
    HelpWindow::showHelp(TrackerHelp::MainWindow, true);
    QCOMPARE(HelpWindow::openWindow(true), card);
    QCOMPARE(card->browser()->source().fragment(), QStringLiteral("main-window"));

    // Closing the card leaves the help window open.
    HelpWindow::closeTrainingCard();
    QTRY_VERIFY(HelpWindow::openWindow(true) == nullptr);
    QCOMPARE(HelpWindow::openWindow(false), help);
    QVERIFY(help->isVisible());
    HelpWindow::closeTrainingCard();

    // After closing, the next request opens a new card.
    HelpWindow::showHelp(TrackerHelp::TimeSheet, true);
    QVERIFY(HelpWindow::openWindow(true) != nullptr);
    QCOMPARE(HelpWindow::openWindow(true)->browser()->source().fragment(),
             QStringLiteral("time-sheet"));
}

void HelpWindowTest::closingTheMainWindowEndsTheProgramWithHelpOpen() {
    QWidget mainWindow;
    mainWindow.show();
    HelpWindow::showHelp(TrackerHelp::Contents, false);
    HelpWindow::showHelp(TrackerHelp::FirstSteps, true);

    QTimer::singleShot(0, &mainWindow, &QWidget::close);
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(10'000);
    // 0: the program ended by itself when its main window closed; 1: the help kept it running.
    QCOMPARE(QApplication::exec(), 0);
    // Both help windows went with the program.
    QTRY_VERIFY(HelpWindow::openWindow(false) == nullptr &&
                HelpWindow::openWindow(true) == nullptr);
}

VSOLO_REGISTER_OWN_PROCESS_TEST_CLASS(HelpWindowTest);

} // namespace vsolo::testing

#include "helpwindow_test.moc"
