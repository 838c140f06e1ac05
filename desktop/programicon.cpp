#include "desktop/programicon.h"

#include <QString>
#include <array>

namespace vsolo {

namespace {

// The sizes the build renders from each drawing; the resource holds them as :/icons/N/name.png.
constexpr std::array kSizes{16, 32, 48, 128, 256};

} // namespace

const char* programIconName(ProgramIcon which) {
    switch (which) {
    case ProgramIcon::Tracker:
        return "com.orvane.VeltimoSolo";
    case ProgramIcon::Reporting:
        return "com.orvane.VeltimoSoloReporting";
    case ProgramIcon::Template:
        return "application-x-veltimo-solo-template";
    }
    return "";
}

QIcon programIcon(ProgramIcon which) {
    QIcon icon;
    for (const int size : kSizes) {
        icon.addFile(QStringLiteral(":/icons/%1/%2.png")
                         .arg(size)
                         .arg(QString::fromLatin1(programIconName(which))),
                     QSize(size, size));
    }
    return icon;
}

} // namespace vsolo
