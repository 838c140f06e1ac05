#include "platform/firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <utility>

namespace vsolo {

namespace {

bool g_quitting = false;

} // namespace

bool FirstPaintWatcher::quitting() {
    return g_quitting;
}

bool FirstPaintWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        g_quitting = true;
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
    return false;
}

AfterFirstPaint::AfterFirstPaint(std::function<void()> step, QObject* parent)
    : QObject(parent), m_step(std::move(step)) {
    m_fallback.setSingleShot(true);
    connect(&m_fallback, &QTimer::timeout, this, &AfterFirstPaint::runOnce);
    m_fallback.start(kFallbackMs);
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        m_fallback.stop();
        // After the paint has been delivered, not inside it.
        QTimer::singleShot(0, this, &AfterFirstPaint::runOnce);
    }
    return false;
}

void AfterFirstPaint::runOnce() {
    m_fallback.stop();
    if (FirstPaintWatcher::quitting()) {
        return;
    }
    if (std::function<void()> step = std::exchange(m_step, nullptr)) {
        step();
    }
}

} // namespace vsolo
