#pragma once

#include <QList>
#include <QRect>
#include <string_view>

namespace vsolo {

class SettingsStore;

// The main window's rectangle as the settings hold it: four values in section "UserConfig" named
// after the view followed by "left", "top", "right" and "bottom" (outer corners, so width is
// right - left). A missing value takes its default: 0, 0, 600, 400.
QRect readWindowRect(const SettingsStore& store, std::string_view viewName);
void writeWindowRect(SettingsStore& store, std::string_view viewName, const QRect& rect);

// A rectangle that lies wholly on one of the screens' areas comes back as it is. Otherwise it is
// moved onto the area it overlaps most (the first area when it overlaps none), and made smaller
// where it is larger than that area, so that the window never opens out of reach. Without areas
// it is left alone.
QRect pulledOntoScreen(const QRect& rect, const QList<QRect>& screenAreas);

// The available areas of the screens the desktop has now, the primary screen first.
QList<QRect> currentScreenAreas();

} // namespace vsolo
