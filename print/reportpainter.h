#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QTransform>
#include <climits>
#include <cstddef>
#include <initializer_list>
#include <span>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace vsolo {

// Reports are drawn in report units with the y axis pointing up: a point below the origin has a
// negative y. A program picks the size of the unit once for all its reports, on screen and on
// paper, so that a layout written once prints the same on any device: the tracker draws in
// 0.001 inch (the default here), the reporting tool in 0.01 inch.
inline constexpr int kReportUnitsPerInch = 1000;
inline constexpr int kHundredthsPerInch = 100;

// A rectangle in report units. The y axis points up, so top is not below bottom.
struct ReportRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return top - bottom; }
    friend bool operator==(const ReportRect&, const ReportRect&) = default;
};

// The distances of the printed page from the edges of the paper (not of the printable area). The
// defaults are in thousandths of an inch.
struct PageMargins {
    int left = 750;
    int right = 750;
    int top = 500;
    int bottom = 500;
};

// Where a device draws on its paper, in report units measured from the paper's top left corner
// with y pointing down (the way paper is described): the paper's size and the point of the paper
// where the device's own origin lies, the corner of the area it can print on.
struct PaperLayout {
    QSizeF paper;
    QPointF origin;

    // The layout of a printer or PDF writer as its page layout states it.
    static PaperLayout of(const QPagedPaintDevice& device, int unitsPerInch = kReportUnitsPerInch);
};

// The page inside the margins, in report units relative to the device's origin. The margins are
// counted from the paper's edge, so the page lies at the same place on the paper whatever border
// the device cannot print; a border wider than a margin takes the edge of the page with it but
// moves nothing else.
ReportRect pageRectOnPaper(const PaperLayout& paper, const PageMargins& margins);

// A column of a printed report. Left and right are measured from the page's left edge; a right
// edge of kToPageRight reaches the page's right edge.
inline constexpr int kToPageRight = INT_MAX;

struct PrintColumn {
    enum class Align { Left = 0, Centre = 1, Right = 2 };
    QString title;
    int left = 0;
    int right = 0;
    Align align = Align::Left;
    bool underlineTitle = false;
};

// The width of the page inside the default margins on Letter paper, in thousandths of an inch:
// the tracker's reports place their columns for it.
inline constexpr int kLetterPageWidth = 8500 - PageMargins{}.left - PageMargins{}.right;

class ReportPainter;

// Fits columns placed for a page placedFor units wide to the painter's page and to their titles,
// bold as the title band draws them. A column whose title is wider than the column grows to it;
// where the page is narrower than placedFor plus that growth, the flexible columns give up the
// difference, as evenly as they can, each down to its title's width, or to half its width where
// its title (the user's own) is cut either way. Every edge moves with the columns that end at or
// left of it, so the columns with titles must lie side by side. A wider page leaves the places as
// they are: the column reaching the page's right edge takes the rest.
void fitColumnsToPage(std::span<PrintColumn> columns, std::initializer_list<std::size_t> flexible,
                      const ReportPainter& painter, int placedFor = kLetterPageWidth);

// Draws reports on any paint device in report units. Made for a device, it holds the page
// rectangle and the report fonts measured for that device; begin() then prepares a painter on
// the same device. The measuring works without a painter, so that the page count is known before
// a print job starts.
class ReportPainter {
public:
    static constexpr int kDefaultFontSize = 80; // tenths of a point
    // The sizes of the rules and frames, in thousandths of an inch whatever the painter's units.
    static constexpr int kTitleFramePen = 20;
    static constexpr int kTitleFrameCorner = 400;
    static constexpr int kTitleFrameInset = 30;
    static constexpr int kTitleUnderlinePen = 15;
    static constexpr int kDoubleRuleGap = 10;
    // Thin enough for the two lines of a double rule to stay apart at any resolution.
    static constexpr int kRulePen = 4;

    // A printer or PDF writer gets its page from its paper and the margins; any other device
    // (a window, an image) uses its whole area as the page. The margins, the fixed sizes above and
    // every coordinate given to the painter are in units of 1/unitsPerInch inch.
    explicit ReportPainter(QPaintDevice& device, const PageMargins& margins = {},
                           int unitsPerInch = kReportUnitsPerInch);
    ReportPainter(const ReportPainter&) = delete;
    ReportPainter& operator=(const ReportPainter&) = delete;

    // Sets the report units with y up, black text, no brush and the clip to the page on a painter
    // that is active on the device. Called again after each new page of a print job.
    void begin(QPainter& painter);
    QPainter& painter() { return *m_painter; }
    QPaintDevice& device() const { return m_device; }
    int unitsPerInch() const { return m_unitsPerInch; }
    // From report units to the device's pixels.
    QTransform transform() const;

    const ReportRect& pageRect() const { return m_page; }
    // On screen the page is what the view shows.
    void setPageRect(const ReportRect& page) { m_page = page; }

    // The report font from a face and a size in tenths of a point, with its bold variant; returns
    // the line height: the font's height plus its external leading.
    int setReportFont(int tenthsOfPoint, const QString& face = QStringLiteral("Arial"));
    const QFont& normalFont() const { return m_normal; }
    const QFont& boldFont() const { return m_bold; }
    int lineHeight() const { return m_lineHeight; }
    // Any other font of the report, sized for this device.
    QFont makeFont(int tenthsOfPoint, bool bold = false,
                   const QString& face = QStringLiteral("Arial")) const;
    int lineHeightOf(const QFont& font) const;
    int textWidth(const QString& text, const QFont& font) const;

    // The column's edges in report units.
    int columnLeft(const PrintColumn& column) const { return m_page.left + column.left; }
    int columnRight(const PrintColumn& column) const;

    // A single line of text inside the rectangle, vertically centred, never clipped, shortened
    // with an ellipsis when it is too wide (unless elide is Qt::ElideNone).
    void drawText(const ReportRect& rect, const QString& text, const QFont& font,
                  Qt::Alignment alignment, Qt::TextElideMode elide = Qt::ElideRight);
    // The text in the column on the line whose top is at y, in the column's alignment.
    void drawColumnText(const PrintColumn& column, int y, const QString& text, bool bold = false);
    // A rule along the top of the line at y across the column, starting offset units right of
    // its left edge; a double rule adds two lines at the bottom of the line, 10 units apart.
    void drawRule(const PrintColumn& column, int y, int offset = 0, bool doubleRule = false);
    void drawLine(int x1, int y1, int x2, int y2, double penWidth);
    // The framed band of column titles: a rounded rectangle inset from the band's sides, and each
    // title in bold one line below the band's top, underlined where the column asks for it.
    void drawColumnTitles(std::span<const PrintColumn> columns, const ReportRect& band);

private:
    void measureDevice();
    // A size in thousandths of an inch in the painter's units.
    double fromThousandths(double thousandths) const;

    QPaintDevice& m_device;
    int m_unitsPerInch;
    QPainter* m_painter = nullptr;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    ReportRect m_page;
    QFont m_normal;
    QFont m_bold;
    int m_lineHeight = 0;
};

} // namespace vsolo
