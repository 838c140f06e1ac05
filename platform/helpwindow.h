#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace vsolo {

// What a program's help is made of: its page (HTML compiled into the program as a resource, for
// example "qrc:/help/index.html"), the anchor of each help context by number, the contents being
// context 0, and the titles of its two windows.
struct HelpBook {
    QUrl page;
    QStringList anchors;
    QString helpTitle;
    QString cardTitle;
};

// The program's help, shown in a window of its own. The help is one page with one anchor per help
// context. It opens in one of two windows: the
// help window, an ordinary window, and the training card, a small window that stays on top of the
// program so that the user can follow it while working. Each is reused while it is open; neither
// keeps the program running when the main window closes.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kContents = 0;

    // The program sets its help once at start-up.
    static void setBook(HelpBook book);
    static QUrl page();
    // Opens the help at a context; an unknown context opens the contents.
    static void showHelp(int context, bool trainingCard);
    static void closeTrainingCard();
    // The anchor of a context in the help page.
    static QString anchorOf(int context);
    // The window of that kind if it is open, else nullptr.
    static HelpWindow* openWindow(bool trainingCard);

    bool isTrainingCard() const { return m_trainingCard; }
    QTextBrowser* browser() const { return m_browser; }

private:
    explicit HelpWindow(bool trainingCard);
    void open(int context);
    void placeBesideScreenEdge();

    bool m_trainingCard;
    QTextBrowser* m_browser;
};

} // namespace vsolo
