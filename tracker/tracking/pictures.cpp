#include "tracker/tracking/pictures.h"

#include "tracker/app/commands.h"

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>
#include <algorithm>
#include <array>

namespace vsolo::pictures {

namespace {

constexpr int kTrackingFaces = 11;
constexpr int kIdleFaces = 10;

constexpr std::array kIconSizes{16, 20, 24, 32, 48, 64};
constexpr std::array kProgramIconSizes{16, 24, 32, 48, 64, 128, 256};

constexpr QSize kFaceSize(72, 26);
constexpr QSize kStartFromLastSize(40, 20);
constexpr QSize kTipPictureSize(40, 48);

// Every picture is drawn on a transparent pixmap in logical pixels; the pixmap has the device
// pixel ratio's worth of real pixels, so that it stays sharp on a dense screen.
template <typename Draw>
QPixmap drawn(QSize size, qreal devicePixelRatio, Draw draw) {
    const qreal ratio = std::clamp(devicePixelRatio, 1.0, 4.0);
    QPixmap pixmap(qRound(size.width() * ratio), qRound(size.height() * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter);
    return pixmap;
}

QPen pen(const QColor& color, qreal width) {
    QPen p(color, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

QFont boldFont(qreal pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, qRound(pixelSize)));
    font.setBold(true);
    return font;
}

// A point on a circle, the angle in degrees clockwise from twelve o'clock.
QPointF onCircle(QPointF centre, qreal radius, qreal degrees) {
    const qreal radians = qDegreesToRadians(degrees);
    return centre + QPointF(radius * qSin(radians), -radius * qCos(radians));
}

struct ClockColours {
    QColor faceInner;
    QColor faceOuter;
    QColor rim;
    QColor hand;
    QColor sweep;
};

const ClockColours kTrackingColours{QColor(0xf1, 0xfb, 0xe9), QColor(0xbf, 0xe8, 0xa8),
                                    QColor(0x2e, 0x7d, 0x32), QColor(0x1b, 0x5e, 0x20),
                                    QColor(0x43, 0xa0, 0x47, 110)};
const ClockColours kIdleColours{QColor(0xf7, 0xf7, 0xf7), QColor(0xd8, 0xd8, 0xd8),
                                QColor(0x8a, 0x8a, 0x8a), QColor(0x5c, 0x5c, 0x5c),
                                QColor(0, 0, 0, 0)};
const ClockColours kProgramColours{QColor(0xf4, 0xf9, 0xff), QColor(0xc9, 0xdf, 0xf7),
                                   QColor(0x1e, 0x63, 0xb5), QColor(0x17, 0x3f, 0x73),
                                   QColor(0, 0, 0, 0)};

// The clock without hands: face, rim and hour marks, scaled to the box it is drawn into.
void drawDial(QPainter& p, QRectF box, const ClockColours& colours) {
    const qreal size = std::min(box.width(), box.height());
    const qreal rimWidth = std::max(1.0, size / 16);
    const QPointF centre = box.center();
    const qreal radius = size / 2 - rimWidth / 2 - 0.5;

    QRadialGradient fill(centre, radius);
    fill.setColorAt(0.0, colours.faceInner);
    fill.setColorAt(1.0, colours.faceOuter);
    p.setPen(pen(colours.rim, rimWidth));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);

    // Small dials keep only the quarter marks, which still read as a clock.
    const int step = size < 24 ? 3 : 1;
    for (int hour = 0; hour < 12; hour += step) {
        const bool quarter = hour % 3 == 0;
        const qreal outer = radius - rimWidth;
        const qreal inner = outer - (quarter ? size / 8 : size / 16);
        p.setPen(pen(colours.rim, std::max(0.8, size / (quarter ? 24 : 40))));
        p.drawLine(onCircle(centre, inner, hour * 30), onCircle(centre, outer, hour * 30));
    }
}

void drawHand(QPainter& p, QRectF box, qreal degrees, qreal length, qreal width, QColor colour) {
    const qreal size = std::min(box.width(), box.height());
    p.setPen(pen(colour, width));
    p.drawLine(box.center(), onCircle(box.center(), size / 2 * length, degrees));
}

void drawHub(QPainter& p, QRectF box, QColor colour) {
    const qreal size = std::min(box.width(), box.height());
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(box.center(), size / 20 + 0.5, size / 20 + 0.5);
}

void drawClockFace(QPainter& p, qreal size, bool tracking, int index) {
    const ClockColours& colours = tracking ? kTrackingColours : kIdleColours;
    const QRectF box(0, 0, size, size);
    drawDial(p, box, colours);
    const qreal degrees = 360.0 * index / clockFaceCount(tracking);
    if (tracking && index > 0) {
        // The sweep behind the hand grows through the cycle, so a running clock looks busy.
        const qreal radius = size / 2 * 0.74;
        const QRectF sweep(box.center() - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
        p.setPen(Qt::NoPen);
        p.setBrush(colours.sweep);
        p.drawPie(sweep, 90 * 16, -qRound(degrees * 16));
    }
    drawHand(p, box, degrees, 0.7, std::max(1.2, size / 12), colours.hand);
    drawHub(p, box, colours.hand);
}

void drawCheckMark(QPainter& p, QRectF box) {
    const qreal size = box.width();
    QPainterPath tick;
    tick.moveTo(box.left() + size * 0.12, box.top() + size * 0.55);
    tick.lineTo(box.left() + size * 0.40, box.top() + size * 0.82);
    tick.lineTo(box.left() + size * 0.90, box.top() + size * 0.18);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(Qt::white, size * 0.34));
    p.drawPath(tick);
    p.setPen(pen(QColor(0x2e, 0x9d, 0x3a), size * 0.2));
    p.drawPath(tick);
}

void drawProgramIcon(QPainter& p, qreal size) {
    const QRectF box(0, 0, size, size);
    drawDial(p, box, kProgramColours);
    // Ten past ten: the hands leave the lower right free for the check mark.
    drawHand(p, box, 300, 0.5, std::max(1.2, size / 11), kProgramColours.hand);
    drawHand(p, box, 60, 0.72, std::max(1.0, size / 16), kProgramColours.hand);
    drawHub(p, box, kProgramColours.hand);
    drawCheckMark(p, QRectF(size * 0.48, size * 0.5, size * 0.5, size * 0.46));
}

// A red dot over the check mark, as a recording lamp; large enough to be seen at 16 pixels.
void drawTrackingMark(QPainter& p, qreal size) {
    p.setPen(pen(Qt::white, std::max(1.0, size / 16)));
    p.setBrush(QColor(0xd3, 0x2f, 0x2f));
    p.drawEllipse(QPointF(size * 0.74, size * 0.74), size * 0.24, size * 0.24);
}

template <class Draw>
QIcon inProgramIconSizes(Draw draw) {
    QIcon icon;
    for (const int size : kProgramIconSizes) {
        icon.addPixmap(drawn(QSize(size, size), 1.0, [size, draw](QPainter& p) { draw(p, size); }));
    }
    return icon;
}

// Toolbar pictures are designed on a 16 × 16 grid and scaled to the size asked for.
void drawPlay(QPainter& p, qreal left) {
    const QPolygonF triangle{{left, 2.5}, {13.8, 8}, {left, 13.5}};
    p.setPen(pen(QColor(0x1b, 0x6e, 0x24), 1));
    p.setBrush(QColor(0x34, 0xa8, 0x45));
    p.drawPolygon(triangle);
}

void drawWindow(QPainter& p, QRectF frame, qreal titleHeight, QColor title) {
    p.setPen(pen(QColor(0x45, 0x5a, 0x64), 1));
    p.setBrush(Qt::white);
    p.drawRect(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(title);
    p.drawRect(QRectF(frame.left() + 0.5, frame.top() + 0.5, frame.width() - 1, titleHeight));
}

void drawStart(QPainter& p) {
    drawPlay(p, 3.5);
}

void drawStartFromLast(QPainter& p) {
    p.setPen(pen(QColor(0x1b, 0x6e, 0x24), 1));
    p.setBrush(QColor(0x1b, 0x6e, 0x24));
    p.drawRect(QRectF(2, 3, 2.2, 10));
    drawPlay(p, 6);
}

void drawStop(QPainter& p) {
    p.setPen(pen(QColor(0x8e, 0x1b, 0x1b), 1));
    p.setBrush(QColor(0xd3, 0x2f, 0x2f));
    p.drawRoundedRect(QRectF(3, 3, 10, 10), 1.5, 1.5);
}

void drawShrink(QPainter& p) {
    // The big window goes, the small one stays.
    p.setPen(pen(QColor(0x90, 0xa4, 0xae), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    drawWindow(p, QRectF(8.5, 9.5, 6, 5), 1.6, QColor(0x1e, 0x63, 0xb5));
    p.setPen(pen(QColor(0x1e, 0x63, 0xb5), 1.3));
    p.drawLine(QPointF(3.5, 3.5), QPointF(7.5, 7.5));
    p.drawLine(QPointF(7.5, 7.5), QPointF(7.5, 5));
    p.drawLine(QPointF(7.5, 7.5), QPointF(5, 7.5));
}

void drawSend(QPainter& p) {
    p.setPen(pen(QColor(0x79, 0x55, 0x48), 1));
    p.setBrush(QColor(0xff, 0xf3, 0xd6));
    p.drawRect(QRectF(1.5, 5.5, 11, 8));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{1.5, 5.5}, {7, 10}, {12.5, 5.5}});
    // The arrow says the letter leaves.
    p.setPen(pen(QColor(0x2e, 0x9d, 0x3a), 1.4));
    p.drawLine(QPointF(9, 2.5), QPointF(14.5, 2.5));
    p.drawLine(QPointF(14.5, 2.5), QPointF(12.5, 0.8));
    p.drawLine(QPointF(14.5, 2.5), QPointF(12.5, 4.2));
}

void drawTimeSheet(QPainter& p) {
    const QRectF sheet(1.5, 2.5, 13, 11);
    p.setPen(pen(QColor(0x45, 0x5a, 0x64), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x90, 0xca, 0xf9));
    p.drawRect(QRectF(2, 3, 12, 2.5));
    p.setPen(pen(QColor(0x78, 0x90, 0x9c), 0.8));
    for (const qreal y : {5.5, 8.2, 10.9}) {
        p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    }
    for (const qreal x : {6.0, 10.0}) {
        p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
    }
}

void drawHelp(QPainter& p) {
    p.setPen(pen(QColor(0x0d, 0x47, 0xa1), 1));
    p.setBrush(QColor(0x1e, 0x88, 0xe5));
    p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
    p.setPen(Qt::white);
    p.setFont(boldFont(11));
    p.drawText(QRectF(0, 0, 16, 16.5), Qt::AlignCenter, QStringLiteral("?"));
}

void drawMainWindow(QPainter& p) {
    drawWindow(p, QRectF(1.5, 2.5, 13, 11), 2.5, QColor(0x1e, 0x63, 0xb5));
    // A tree of items, as the main window shows.
    p.setPen(pen(QColor(0x60, 0x7d, 0x8b), 0.9));
    p.drawLine(QPointF(4, 7), QPointF(11.5, 7));
    p.drawLine(QPointF(6, 9.3), QPointF(12, 9.3));
    p.drawLine(QPointF(6, 11.5), QPointF(10.5, 11.5));
    p.drawLine(QPointF(4.5, 7.5), QPointF(4.5, 11.5));
}

void drawSave(QPainter& p) {
    p.setPen(pen(QColor(0x0d, 0x47, 0xa1), 1));
    p.setBrush(QColor(0x15, 0x65, 0xc0));
    p.drawRoundedRect(QRectF(2, 2, 12, 12), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xcf, 0xd8, 0xdc));
    p.drawRect(QRectF(5, 2.5, 6, 4));
    p.setBrush(QColor(0x37, 0x47, 0x4f));
    p.drawRect(QRectF(8.8, 3.2, 1.4, 2.6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 9, 8, 4.5));
}

void drawPrint(QPainter& p) {
    p.setPen(pen(QColor(0x78, 0x90, 0x9c), 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setPen(pen(QColor(0x37, 0x47, 0x4f), 1));
    p.setBrush(QColor(0x78, 0x90, 0x9c));
    p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1.2, 1.2);
    p.setPen(pen(QColor(0x78, 0x90, 0x9c), 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10, 7, 4.5));
    p.setPen(pen(QColor(0x90, 0xa4, 0xae), 0.7));
    p.drawLine(QPointF(6, 12), QPointF(10, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x66, 0xbb, 0x6a));
    p.drawEllipse(QPointF(12.3, 8), 0.8, 0.8);
}

using GridDrawer = void (*)(QPainter&);

GridDrawer commandDrawer(int number) {
    switch (number) {
    case command::kStart:
        return drawStart;
    case command::kStartFromLast:
        return drawStartFromLast;
    case command::kStop:
        return drawStop;
    case command::kShrink:
        return drawShrink;
    case command::kSendTimeSheet:
        return drawSend;
    case command::kTimeSheet:
        return drawTimeSheet;
    case command::kHelpOnWindow:
        return drawHelp;
    case command::kBackToMainWindow:
        return drawMainWindow;
    case command::kSave:
        return drawSave;
    case command::kPrint:
        return drawPrint;
    default:
        return nullptr;
    }
}

struct FaceColours {
    QColor top;
    QColor bottom;
    QColor border;
    QColor text;
};

const FaceColours kStopColours{QColor(0xe5, 0x39, 0x35), QColor(0xb7, 0x1c, 0x1c),
                               QColor(0x7f, 0x00, 0x00), Qt::white};
const FaceColours kDetailColours{QColor(0xfa, 0xfa, 0xfa), QColor(0xd3, 0xda, 0xe2),
                                 QColor(0x6b, 0x78, 0x86), QColor(0x26, 0x32, 0x38)};

// A picture button's face. The body leaves a margin all round, where the focused face draws its
// ring; a pressed face is darker, shaded along its top and its text moves down and right by one
// pixel, as a pressed button does.
QPixmap buttonFace(const QString& text, const FaceColours& colours, FaceState state,
                   qreal devicePixelRatio) {
    return drawn(kFaceSize, devicePixelRatio, [&](QPainter& p) {
        const QRectF body = QRectF(QPointF(0, 0), QSizeF(kFaceSize)).adjusted(2.5, 2.5, -2.5, -2.5);
        const bool down = state == FaceState::Down;
        QLinearGradient fill(body.topLeft(), body.bottomLeft());
        fill.setColorAt(0, down ? colours.bottom.darker(112) : colours.top);
        fill.setColorAt(1, down ? colours.top.darker(112) : colours.bottom);
        p.setPen(pen(colours.border, 1));
        p.setBrush(fill);
        p.drawRoundedRect(body, 4, 4);

        if (down) {
            p.setPen(pen(QColor(0, 0, 0, 70), 1.5));
            p.drawLine(body.topLeft() + QPointF(3, 1.5), body.topRight() + QPointF(-3, 1.5));
        } else {
            p.setPen(pen(QColor(255, 255, 255, 110), 1));
            p.drawLine(body.topLeft() + QPointF(3, 1.5), body.topRight() + QPointF(-3, 1.5));
        }
        if (state == FaceState::Focused) {
            p.setPen(pen(QColor(0x1e, 0x88, 0xe5), 2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(1, 1, kFaceSize.width() - 2, kFaceSize.height() - 2), 5, 5);
        }

        p.setPen(colours.text);
        p.setFont(boldFont(13));
        const QPointF shift = down ? QPointF(1, 1) : QPointF(0, 0);
        p.drawText(body.translated(shift), Qt::AlignCenter, text);
    });
}

} // namespace

QIcon programIcon() {
    return inProgramIconSizes(&drawProgramIcon);
}

QIcon trackingIcon() {
    return inProgramIconSizes([](QPainter& p, qreal size) {
        drawProgramIcon(p, size);
        drawTrackingMark(p, size);
    });
}

QIcon commandIcon(int number) {
    const GridDrawer draw = commandDrawer(number);
    if (draw == nullptr) {
        return {};
    }
    QIcon icon;
    for (const int size : kIconSizes) {
        icon.addPixmap(drawn(QSize(size, size), 1.0, [size, draw](QPainter& p) {
            p.scale(size / 16.0, size / 16.0);
            draw(p);
        }));
    }
    return icon;
}

int clockFaceCount(bool tracking) {
    return tracking ? kTrackingFaces : kIdleFaces;
}

QPixmap clockFace(bool tracking, int index, int size, qreal devicePixelRatio) {
    const int count = clockFaceCount(tracking);
    const int step = ((index % count) + count) % count;
    const int side = std::clamp(size, 8, 512);
    return drawn(QSize(side, side), devicePixelRatio,
                 [&](QPainter& p) { drawClockFace(p, side, tracking, step); });
}

QSize faceSize() {
    return kFaceSize;
}

QPixmap stopFace(FaceState state, qreal devicePixelRatio) {
    return buttonFace(QCoreApplication::translate("vsolo::CTrackWindowView", "STOP"), kStopColours, state, devicePixelRatio);
}

QPixmap detailFace(FaceState state, qreal devicePixelRatio) {
    return buttonFace(QCoreApplication::translate("vsolo::CTrackWindowView", "DETAIL"), kDetailColours, state, devicePixelRatio);
}

QSize startFromLastSize() {
    return kStartFromLastSize;
}

QPixmap startFromLastPicture(qreal devicePixelRatio) {
    return drawn(kStartFromLastSize, devicePixelRatio, [](QPainter& p) {
        const QColor green(0x2e, 0x9d, 0x3a);
        p.setPen(pen(green, 2.4));
        p.drawLine(QPointF(2, 10), QPointF(16, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        p.drawPolygon(QPolygonF{{14, 4.5}, {20.5, 10}, {14, 15.5}});
        const QRectF clock(21, 0.5, 19, 19);
        drawDial(p, clock, kProgramColours);
        drawHand(p, clock, 300, 0.45, 1.6, kProgramColours.hand);
        drawHand(p, clock, 0, 0.68, 1.3, kProgramColours.hand);
        drawHub(p, clock, kProgramColours.hand);
    });
}

QSize tipPictureSize() {
    return kTipPictureSize;
}

QPixmap tipPicture(qreal devicePixelRatio) {
    return drawn(kTipPictureSize, devicePixelRatio, [](QPainter& p) {
        const QPointF centre(20, 18);
        // The light it gives: short rays round the glass.
        p.setPen(pen(QColor(0xf9, 0xa8, 0x25), 2));
        for (const qreal degrees : {-90.0, -45.0, 0.0, 45.0, 90.0}) {
            p.drawLine(onCircle(centre, 14.5, degrees), onCircle(centre, 18.5, degrees));
        }
        // The glass: a round top narrowing to the neck.
        QPainterPath glass;
        glass.moveTo(15, 33);
        glass.cubicTo(15, 27, 9, 24.5, 9, 17.5);
        glass.arcTo(QRectF(9, 7, 22, 22), 180, -180);
        glass.cubicTo(31, 24.5, 25, 27, 25, 33);
        glass.closeSubpath();
        QRadialGradient light(QPointF(17, 14), 16);
        light.setColorAt(0, QColor(0xff, 0xfd, 0xe7));
        light.setColorAt(0.45, QColor(0xff, 0xee, 0x58));
        light.setColorAt(1, QColor(0xfb, 0xc0, 0x2d));
        p.setBrush(light);
        p.setPen(pen(QColor(0xb2, 0x8a, 0x00), 1.2));
        p.drawPath(glass);
        // The glowing wire inside.
        p.setBrush(Qt::NoBrush);
        p.setPen(pen(QColor(0xe6, 0x51, 0x00), 1.1));
        QPainterPath wire;
        wire.moveTo(17.5, 32);
        wire.lineTo(17.5, 22);
        wire.lineTo(19, 19.5);
        wire.lineTo(20.5, 22);
        wire.lineTo(22, 19.5);
        wire.lineTo(22.5, 22);
        wire.lineTo(22.5, 32);
        p.drawPath(wire);
        // The screw base, in grey rings, and its contact.
        QLinearGradient metal(QPointF(14, 0), QPointF(26, 0));
        metal.setColorAt(0, QColor(0x9e, 0x9e, 0x9e));
        metal.setColorAt(0.5, QColor(0xee, 0xee, 0xee));
        metal.setColorAt(1, QColor(0x75, 0x75, 0x75));
        p.setPen(pen(QColor(0x61, 0x61, 0x61), 1));
        p.setBrush(metal);
        for (int ring = 0; ring < 3; ++ring) {
            p.drawRoundedRect(QRectF(14.5, 33.5 + ring * 3.5, 11, 3.5), 1.5, 1.5);
        }
        p.setBrush(QColor(0x42, 0x42, 0x42));
        p.drawChord(QRectF(16.5, 41.5, 7, 5), 180 * 16, 180 * 16);
    });
}

QPixmap levelPicture(LevelPicture which, qreal devicePixelRatio) {
    return drawn(QSize(16, 16), devicePixelRatio, [which](QPainter& p) {
        if (which == LevelPicture::Level2) {
            // A sheet with a folded corner and two lines of writing.
            p.setPen(pen(QColor(0x45, 0x5a, 0x64), 1));
            p.setBrush(QColor(0xff, 0xff, 0xff));
            p.drawPolygon(
                QPolygonF{{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}});
            p.setPen(pen(QColor(0x2e, 0x9d, 0x3a), 1.2));
            p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
            p.drawLine(QPointF(5.5, 11), QPointF(10.5, 11));
            return;
        }
        // A folder, blue while in use, grey with a red cross when removed from the list.
        const bool removed = which == LevelPicture::Level1Removed;
        const QColor body = removed ? QColor(0xb0, 0xb0, 0xb0) : QColor(0x3f, 0x7f, 0xd0);
        p.setPen(pen(body.darker(140), 1));
        p.setBrush(body.lighter(125));
        p.drawRect(QRectF(1.5, 3.5, 5, 2));
        p.setBrush(body);
        p.drawRect(QRectF(1.5, 5.5, 13, 8.5));
        if (removed) {
            p.setPen(pen(QColor(0xd3, 0x2f, 0x2f), 2));
            p.drawLine(QPointF(5.5, 7), QPointF(10.5, 12.5));
            p.drawLine(QPointF(10.5, 7), QPointF(5.5, 12.5));
        }
    });
}

} // namespace vsolo::pictures
