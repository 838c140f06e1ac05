#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace vsolo {

// The X server's own count of the time since the last input (the screen saver extension), for a
// program that runs on X11. The X headers stay inside its source: their macros clash with Qt's.
class X11Idle {
public:
    // Nothing unless the application runs on the "xcb" platform and the server has the extension.
    static std::unique_ptr<X11Idle> open();

    // Milliseconds since the last keyboard or mouse input; nothing when the server does not say.
    std::optional<std::uint64_t> idleMilliseconds() const;

private:
    explicit X11Idle(void* display) : m_display(display) {}

    // Qt's connection to the server, owned by Qt.
    void* m_display;
};

} // namespace vsolo
