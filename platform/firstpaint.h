#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QEvent;

namespace vsolo {

// Ends the program once the widget it watches has been painted, so that a start can be checked
// and measured from outside without anyone closing the window. Installed with
// widget.installEventFilter(&watcher); it lets the paint through.
class FirstPaintWatcher final : public QObject {
public:
    using QObject::QObject;

    // Once a watcher has seen its paint the program is ending: work deferred past the first
    // paint (AfterFirstPaint) is left undone rather than started on the way out.
    static bool quitting();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Runs a step once, as soon as the event loop is free after the first paint of the widget it
// watches, so that work the first paint does not need waits until the window is there. A widget
// that is not painted within the fallback time (a start minimised) runs it then. Installed with
// widget.installEventFilter(&runner) before the widget is shown; destroyed first, or once a
// FirstPaintWatcher is ending the program, it runs nothing.
class AfterFirstPaint final : public QObject {
public:
    static constexpr int kFallbackMs = 1000;

    explicit AfterFirstPaint(std::function<void()> step, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runOnce();

    std::function<void()> m_step;
    QTimer m_fallback;
};

} // namespace vsolo
