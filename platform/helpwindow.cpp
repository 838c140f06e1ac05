#include "platform/helpwindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace vsolo {

namespace {

HelpBook& helpBook() {
    static HelpBook book;
    return book;
}

QPointer<HelpWindow>& slot(bool trainingCard) {
    static QPointer<HelpWindow> help;
    static QPointer<HelpWindow> card;
    return trainingCard ? card : help;
}

constexpr QSize kHelpSize(560, 620);
constexpr QSize kCardSize(340, 440);

} // namespace

void HelpWindow::setBook(HelpBook book) {
    helpBook() = std::move(book);
}

QUrl HelpWindow::page() {
    return helpBook().page;
}

QString HelpWindow::anchorOf(int context) {
    const QStringList& anchors = helpBook().anchors;
    if (context < 0 || context >= anchors.size()) {
        context = kContents;
    }
    return anchors.value(context);
}

HelpWindow* HelpWindow::openWindow(bool trainingCard) {
    return slot(trainingCard).data();
}

void HelpWindow::showHelp(int context, bool trainingCard) {
    QPointer<HelpWindow>& shown = slot(trainingCard);
    if (shown.isNull()) {
        shown = new HelpWindow(trainingCard);
    }
    shown->open(context);
}

void HelpWindow::closeTrainingCard() {
    if (HelpWindow* card = openWindow(true)) {
        card->close();
    }
}

HelpWindow::HelpWindow(bool trainingCard)
    : QWidget(nullptr, trainingCard ? Qt::Tool | Qt::WindowStaysOnTopHint : Qt::Window),
      m_trainingCard(trainingCard), m_browser(new QTextBrowser(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Help left open must not keep the program alive after its main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(trainingCard ? helpBook().cardTitle : helpBook().helpTitle);
    resize(trainingCard ? kCardSize : kHelpSize);
    placeBesideScreenEdge();

    // The pages link to each other only; nothing leaves the program.
    m_browser->setOpenExternalLinks(false);
    m_browser->setOpenLinks(true);

    auto* back = new QToolButton(this);
    back->setText(tr("Back"));
    back->setEnabled(false);
    auto* contents = new QToolButton(this);
    contents->setText(tr("Contents"));
    connect(back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
    connect(contents, &QToolButton::clicked, this, [this] { open(kContents); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);
    // Windows that outlive the event loop would be destroyed after the application object.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { delete this; });
}

void HelpWindow::open(int context) {
    QUrl target = helpBook().page;
    target.setFragment(anchorOf(context));
    // The browser scrolls to the anchor, also when the same place is asked for again and once a
    // window shown for the first time has its size.
    m_browser->setSource(target);
    show();
    raise();
    activateWindow();
}

void HelpWindow::placeBesideScreenEdge() {
    // The training card sits at the right edge of the screen, out of the way of the main window.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!m_trainingCard || screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    move(area.right() - width() - 16, area.top() + 48);
}

} // namespace vsolo
