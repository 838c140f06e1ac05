#include "platform/idle/x11idle.h"

#include <QGuiApplication>

// After every Qt header: Xlib's macros (None, Bool, Status ...) would break them.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace vsolo {

std::unique_ptr<X11Idle> X11Idle::open() {
#if QT_CONFIG(xcb)
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ::Display* display = x11 ? x11->display() : nullptr;
    int eventBase = 0;
    int errorBase = 0;
    if (!display || !XScreenSaverQueryExtension(display, &eventBase, &errorBase)) {
        return nullptr;
    }
    return std::unique_ptr<X11Idle>(new X11Idle(display));
#else
    return nullptr;
#endif
}

std::optional<std::uint64_t> X11Idle::idleMilliseconds() const {
    auto* display = static_cast<::Display*>(m_display);
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!info) {
        return std::nullopt;
    }
    std::optional<std::uint64_t> idle;
    if (XScreenSaverQueryInfo(display, XDefaultRootWindow(display), info)) {
        idle = info->idle;
    }
    XFree(info);
    return idle;
}

} // namespace vsolo
