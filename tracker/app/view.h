#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QString>
#include <QWidget>

// The core after the Qt headers; see above.
#include "core/tracker.h"

namespace vsolo {

// A view shown by the main frame, one at a time. The frame asks a view before leaving it and tells
// it when it has become active; the view is also the tracking engine's view target while shown.
class View : public QWidget, public TrackerListener {
    Q_OBJECT
public:
    View(int number, QString windowName, int helpContext, QWidget* parent = nullptr);

    int number() const { return m_number; }
    // The name under which the frame remembers this view's window placement.
    const QString& windowName() const { return m_windowName; }
    int helpContext() const { return m_helpContext; }

    // False keeps the view (it told the user why).
    virtual bool mayLeave() { return true; }
    virtual void activated() {}
    // The frame's close request while this view is shown (Exit or the close box).
    virtual void closeRequested() {}
    // The commands the view carries itself, their enable rules and their actions.
    virtual bool handles(int /*command*/) const { return false; }
    virtual bool isEnabled(int /*command*/) const { return false; }
    virtual bool isChecked(int /*command*/) const { return false; }
    virtual void run(int /*command*/) {}
    // Makes the view's contents anew from the document (after an open, a new file, a reload).
    virtual void refresh() {}
    // Shows the level titles anew after the user changed them.
    virtual void refreshTitles() {}
    int trackerNotify(Tracker& tracker, int code, int value) override;

signals:
    // Asks the frame to show another view.
    void switchRequested(int viewNumber);

private:
    int m_number;
    QString m_windowName;
    int m_helpContext;
};

} // namespace vsolo
