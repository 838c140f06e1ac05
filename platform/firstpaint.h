#pragma once

#include <QObject>

class QEvent;

namespace vsolo {

// Ends the program once the widget it watches has been painted, so that a start can be checked
// and measured from outside without anyone closing the window. Installed with
// widget.installEventFilter(&watcher); it lets the paint through.
class FirstPaintWatcher final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace vsolo
