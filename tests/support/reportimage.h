#pragma once

#include <QImage>
#include <QtGlobal>

namespace vsolo::testing {

// A white image whose dots per inch the report painter reads back exactly: 39370 dots per metre
// is 1000 dots per inch once Qt rounds it.
inline QImage imageAt(int dotsPerInch, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMeter = dotsPerInch == 1000 ? 39370 : qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

inline bool isInk(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

} // namespace vsolo::testing
