#pragma once

#include <QApplication>
#include <QCursor>

namespace vsolo {

// Shows the wait cursor while it lives, so that every way out of a slow mail or file step puts
// the user's cursor back. Nested guards stack as Qt's override cursors do.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace vsolo
