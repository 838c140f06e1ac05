#include "reporting/placement.h"

#include "core/settingsstore.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <string>

namespace vsolo {

namespace {

constexpr std::string_view kSection = "UserConfig";

struct Corner {
    const char* suffix;
    int fallback;
};
constexpr Corner kLeft{"left", 0};
constexpr Corner kTop{"top", 0};
constexpr Corner kRight{"right", 600};
constexpr Corner kBottom{"bottom", 400};

int readCorner(const SettingsStore& store, std::string_view viewName, const Corner& corner) {
    return store.readInt(kSection, std::string(viewName) + corner.suffix).value_or(corner.fallback);
}

void writeCorner(SettingsStore& store, std::string_view viewName, const Corner& corner, int value) {
    store.writeInt(kSection, std::string(viewName) + corner.suffix, value);
}

long long overlapArea(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : static_cast<long long>(common.width()) * common.height();
}

} // namespace

QRect readWindowRect(const SettingsStore& store, std::string_view viewName) {
    const int left = readCorner(store, viewName, kLeft);
    const int top = readCorner(store, viewName, kTop);
    const int right = readCorner(store, viewName, kRight);
    const int bottom = readCorner(store, viewName, kBottom);
    return QRect(left, top, right - left, bottom - top);
}

void writeWindowRect(SettingsStore& store, std::string_view viewName, const QRect& rect) {
    writeCorner(store, viewName, kLeft, rect.left());
    writeCorner(store, viewName, kTop, rect.top());
    writeCorner(store, viewName, kRight, rect.left() + rect.width());
    writeCorner(store, viewName, kBottom, rect.top() + rect.height());
}

QRect pulledOntoScreen(const QRect& rect, const QList<QRect>& screenAreas) {
    if (screenAreas.isEmpty()) {
        return rect;
    }
    for (const QRect& area : screenAreas) {
        if (area.contains(rect)) {
            return rect;
        }
    }
    QRect area = screenAreas.front();
    long long best = 0;
    for (const QRect& candidate : screenAreas) {
        if (overlapArea(rect, candidate) > best) {
            best = overlapArea(rect, candidate);
            area = candidate;
        }
    }
    // A stored rectangle with right below left or bottom above top has no size worth keeping.
    QRect result(rect.topLeft(), QSize(std::clamp(rect.width(), 1, area.width()),
                                       std::clamp(rect.height(), 1, area.height())));
    result.moveLeft(std::clamp(result.left(), area.left(), area.right() - result.width() + 1));
    result.moveTop(std::clamp(result.top(), area.top(), area.bottom() - result.height() + 1));
    return result;
}

QList<QRect> currentScreenAreas() {
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        areas.append(primary->availableGeometry());
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) {
            areas.append(screen->availableGeometry());
        }
    }
    return areas;
}

} // namespace vsolo
