#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include "core/base/usertext.h"
#include "reporting/layout/reportpages.h"

#include <QTransform>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace vsolo::reporting {

// The reporting tool's pages on a paint device: the screen's report window, a printer and a PDF
// writer all draw through here.

// The name of every print job of the tool, shown in the printer's queue.
inline constexpr char kPrintJobName[] = VSOLO_TR("Veltimo Solo Report");

// From report units (0.01 inch, y up) to the device's pixels, with the point (0, 0) of the page
// at the device pixel `origin`.
QTransform reportTransform(const QPaintDevice& device, QPointF origin = {});

// The page of a printer or PDF writer: its printable area.
PageGeometry printableGeometry(const QPagedPaintDevice& device);

// Draws the page with the painter's current transform (set by the caller from
// reportTransform()); each text clipped to its box. The painter's state is restored after.
void drawReportPage(QPainter& painter, const ReportPage& page);

enum class PrintResult {
    Printed,
    // The job could not be started, a page not begun, or the job not ended: the caller shows
    // "There was an error sending output to the printer..." once.
    Failed,
};

// Prints the pages, one per sheet, each at the corner of the printable area. An empty list
// prints nothing and fails.
PrintResult printReportPages(const std::vector<ReportPage>& pages, QPagedPaintDevice& device);

} // namespace vsolo::reporting
