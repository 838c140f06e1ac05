#include "platform/firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace vsolo {

bool FirstPaintWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
    return false;
}

} // namespace vsolo
