#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QString>

// The project headers after the Qt headers; see above.
#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "print/printedreport.h"

#include <memory>
#include <string>
#include <string_view>

namespace vsolo {

// The size of a graph's drawing on screen, in report units: a view scrolls when its window is
// smaller.
struct ScreenExtent {
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenExtent&, const ScreenExtent&) = default;
};

// What the graphs share: a title and the range in the header, the printing date, the page and the
// document's path in the footer. A graph draws the same way on screen and on paper; the device
// tells which it is: a printer or PDF writer is paper and gets pages and a footer, any other
// device (a window, an image) shows the whole graph on one page.
class GraphPrint : public RangeReport {
public:
    static constexpr int kFooterLines = 2;

    virtual ScreenExtent screenExtent(const ReportPainter& painter) const = 0;
    // A copy to print from while the view keeps drawing its own.
    virtual std::unique_ptr<GraphPrint> clone() const = 0;

    static bool isPaper(const ReportPainter& painter);
    // The whole graph as one page on a painter that has begun: what a window shows.
    void drawWhole(ReportPainter& painter);

protected:
    // The title as shown, already filled with its level title.
    GraphPrint(QString title, TimeValue from, TimeValue to, const Clock& clock,
               std::string_view documentPath);

    // The printing date and the page text, then the path; nothing on screen.
    void drawFooterLines(ReportPainter& painter, const ReportRect& band,
                         const QString& pageText) const;
};

// A level title in capitals, as the graphs' titles show it.
std::string capitals(std::string_view text);

} // namespace vsolo
