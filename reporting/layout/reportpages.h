#pragma once

#include "reporting/data/reportingdata.h"
#include "reporting/data/reportsettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vsolo::reporting {

// The reports of the tool are laid out here as pages of placed texts, rules and frames, in
// hundredths of an inch with the y axis up: 0 is the top of the page, every point of the page has
// a negative y. The same pages are drawn on the screen, on a printer and into a PDF file; only the
// page size differs. Nothing here measures text: a text is placed in a box and aligned there by
// whoever draws it, and clipped to the box.

inline constexpr int kLineHeight = 13;

// The report views, numbered as the main frame's view types.
enum class ReportKind { Projects = 3, Clients = 4, Expenses = 5, Invoice = 6, Rates = 7 };

// The size of a page. On screen a page is 800 by 1023; printed, it is the printable area.
struct PageGeometry {
    int width = 800;    // W
    int height = -1023; // H, negative

    static PageGeometry screen() { return {}; }
    // The printable area in hundredths of an inch (both positive).
    static PageGeometry printable(int widthUnits, int heightUnits) {
        return {widthUnits, -heightUnits};
    }

    // T: where the body's first row has its top.
    int bodyTop(ReportKind kind) const { return kind == ReportKind::Invoice ? -325 : -160; }
    // F: the footer's line.
    int footerLine() const { return height + 60; }
    // R: (T - F) / 13, truncated, less 3 (less 4 for the expense report).
    int rowsPerPage(ReportKind kind) const;
};

enum class PageFont {
    Body,   // Arial, 13 high, normal weight
    Title,  // Arial, 14 high, weight 900
    Totals, // Arial, 13 high, weight 900
};

enum class PageAlign { Left, Centre, Right };

// One line of text whose top is at `top`, aligned between left and right and clipped to them.
struct PageText {
    int left = 0;
    int right = 0;
    int top = 0;
    std::string text; // UTF-8
    PageAlign align = PageAlign::Left;
    PageFont font = PageFont::Body;
    friend bool operator==(const PageText&, const PageText&) = default;
};

// A straight line; pen 0 is the thinnest line the device draws.
struct PageLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int pen = 0;
    friend bool operator==(const PageLine&, const PageLine&) = default;
};

// A rectangle with rounded corners (corner: the size of the ellipse that rounds them).
struct PageFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int corner = 40;
    int pen = 2;
    friend bool operator==(const PageFrame&, const PageFrame&) = default;
};

// Everything of one page, footer included ("Page N of M" and the printing date).
struct ReportPage {
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
    std::vector<PageFrame> frames;
};

// A report period: seconds since 1970 UTC, both ends inclusive.
struct ReportPeriod {
    std::int32_t start = 0;
    std::int32_t end = 0;
};

// The whole local days of the two picked moments: from 00:00:00 of the first's date through
// 23:59:59 of the second's date, in local time. Values outside the 32-bit range are clamped.
ReportPeriod wholeDays(std::int64_t fromTime, std::int64_t toTime);

// What the report selection asks for.
struct ReportRequest {
    ReportKind kind = ReportKind::Clients;
    ReportPeriod period;
    // Group numbers of the selected level-1 items, in the order of the selection.
    std::vector<std::int32_t> projects;
    // The terms, the level titles and, for the invoice, the address, tax and terms.
    ReportSettings settings;
    // The printing date of the footer, as seconds since 1970 UTC (its local date counts).
    std::int64_t today = 0;
};

// The pages of the report; none when it has no data (the caller shows "No data..." instead).
// The data is not changed: the report orders what it shows itself (items by name, expenses by
// date, as the views sort the lists when they open). The words are in the user's language, as
// tx() gives them: English in vsolo-cli, which installs no translator.
std::vector<ReportPage> layoutReport(const ReportingData& data, const ReportRequest& request,
                                     const PageGeometry& geometry);

// "%A, %B %d, %Y" of the local date of the moment, in English: "Tuesday, December 08, 2026".
std::string longDateText(std::int64_t seconds);

} // namespace vsolo::reporting
