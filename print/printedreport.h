#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QString>

// The project headers after the Qt headers; see above.
#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "core/base/usertext.h"
#include "print/reportpainter.h"

#include <cstddef>
#include <string_view>

class QPagedPaintDevice;

namespace vsolo {

// The texts that every printed report shares.
namespace printtext {
inline constexpr const char* kReportingPeriod = VSOLO_TR("REPORTING PERIOD");
inline constexpr const char* kFrom = VSOLO_TR("   FROM:  ");
inline constexpr const char* kTo = VSOLO_TR("   TO:");
inline constexpr const char* kPageOf = VSOLO_TR("Page %d of %d");
} // namespace printtext

// The report title's colour, dark blue, unless a report keeps its title in the text's black.
inline constexpr int kReportTitleRgb = 0x0000AF;
inline constexpr int kReportTextRgb = 0x000000;

enum class ReportSection { Header = 0, ColumnTitles = 1, Body = 2, Summary = 3, Footer = 4 };

// The page being drawn and the number of pages of the print job.
struct PageNumber {
    int page = 1;
    int count = 1;
};

// A report that can be printed: its pages are made of a header, a band of column titles, the
// body, a summary under the body and a footer at the bottom of the page. The report lays its
// body out in pageCount(), which is called once for the device before any page is drawn; a band
// is drawn into its rectangle and may change the painter freely, because the painter's state is
// restored after each band.
class PrintedReport {
public:
    virtual ~PrintedReport() = default;

    // The number of pages on the painter's device and page, at least 1.
    virtual int pageCount(ReportPainter& painter) = 0;
    // The height of a section in report units. The body may be taller than a page: it is cut to
    // what is left between the column titles and the summary.
    virtual int sectionHeight(const ReportPainter& painter, ReportSection section) const = 0;
    virtual void drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) = 0;
    virtual void drawSummary(ReportPainter& painter, const ReportRect& band, PageNumber page) = 0;
    virtual void drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) = 0;
    virtual void drawColumnTitles(ReportPainter& painter, const ReportRect& band,
                                  PageNumber page) = 0;
    virtual void drawHeader(ReportPainter& painter, const ReportRect& band, PageNumber page) = 0;
    // Whether there is anything to print.
    virtual bool hasData() const = 0;
};

// A printed report of a date range: the title and the reporting period in the header, the
// printing date, the page and the document's path in the footer, nothing under the body.
class RangeReport : public PrintedReport {
public:
    // The title as printed.
    const QString& title() const { return m_title; }
    TimeValue from() const { return m_from; }
    TimeValue to() const { return m_to; }

    // The title and the period from the top of the band.
    void drawHeader(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawSummary(ReportPainter& painter, const ReportRect& band, PageNumber page) override;

protected:
    // The printing date is read from the clock, which must outlive the report; the title is drawn
    // in the colour (0xRRGGBB).
    RangeReport(QString title, TimeValue from, TimeValue to, const Clock& clock,
                std::string_view documentPath, int titleRgb = kReportTitleRgb);

    // The title centred on the line whose top is y, and the reporting period from two lines below.
    void drawTitleAndPeriod(ReportPainter& painter, int y) const;
    // The printing date and the page text on the line whose top is y, then the document's path.
    void drawDateAndPage(ReportPainter& painter, int y, const QString& pageText) const;
    // What a page leaves for the body: its height less the header, the column titles, the summary
    // and the footer.
    int bodyRoom(const ReportPainter& painter) const;

private:
    QString m_title;
    TimeValue m_from;
    TimeValue m_to;
    const Clock* m_clock;
    QString m_path;
    int m_titleRgb;
};

// A range report whose body is lines of the normal font, as many on a page as fit between the
// column titles and the footer.
class LineReport : public RangeReport {
public:
    static constexpr int kHeaderLines = 6;
    static constexpr int kColumnTitleLines = 3;

    int sectionHeight(const ReportPainter& painter, ReportSection section) const override;

protected:
    using RangeReport::RangeReport;

    // The body lines of every page together.
    virtual std::size_t bodyLineCount() const = 0;
    virtual int footerHeight(const ReportPainter& painter) const = 0;
    // The whole body lines a page holds, at least 1.
    int linesThatFit(const ReportPainter& painter) const;
};

// Where the five bands of a page lie: the header at the top of the page, the column titles under
// it, the body under them, shortened when the body, the summary and the footer would pass the
// page's bottom, the summary directly under the body and the footer at the page's bottom.
struct PageBands {
    ReportRect header;
    ReportRect columnTitles;
    ReportRect body;
    ReportRect summary;
    ReportRect footer;
};
PageBands pageBands(const ReportPainter& painter, const PrintedReport& report);

// Draws one page: each band in its rectangle, with the painter's state saved before and restored
// after it.
void drawPage(ReportPainter& painter, PrintedReport& report, PageNumber page);

// Prints pages first to last (counted from 1; 0 means the first or the last page) of the report
// on a printer or PDF writer, the page placed by the margins. False when the range holds no page
// or the device cannot be painted on or does not take every page.
bool printReport(PrintedReport& report, QPagedPaintDevice& device, int first = 0, int last = 0,
                 const PageMargins& margins = {});

// The lines every report's header shares, starting with the line whose top is at y: "REPORTING
// PERIOD" in bold at 0.1 inch from the page's left edge, then "   FROM:  " and "   TO:", each
// with its date as "%A, %B %#d, %Y", the two dates one under the other.
void drawReportingPeriod(ReportPainter& painter, int y, TimeValue from, TimeValue to);

// The report title centred across the page on the line whose top is at y, bold, in the colour
// (0xRRGGBB).
void drawReportTitle(ReportPainter& painter, int y, const QString& title,
                     int rgb = kReportTitleRgb);

// The two lines that end every printed page, starting with the line whose top is at y: the
// printing date as "%A, %B %#d, %Y" at the left and "Page %d of %d" at the right, then the
// document's path.
void drawDateAndPageLines(ReportPainter& painter, int y, TimeValue printingDate, PageNumber page,
                          const QString& path);
// The same lines with a page text of the report's own (a report of one page says "Page 1").
void drawDateAndPageLines(ReportPainter& painter, int y, TimeValue printingDate,
                          const QString& pageText, const QString& path);

QString pageOfText(PageNumber page);

// A UTF-8 text of the core as Qt holds it.
QString qStringOf(std::string_view text);

} // namespace vsolo
