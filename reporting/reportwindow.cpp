#include "reporting/reportwindow.h"

#include <QKeyEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QScrollBar>
#include <cmath>
#include <utility>

namespace vsolo::reporting {

namespace {

// Report units are hundredths of an inch.
constexpr double kUnitsPerInch = 100.0;

} // namespace

CReportWnd::CReportWnd(ReportKind kind, const ReportingData& reportingData, ReportRequest request,
                       QWidget* parent)
    : QAbstractScrollArea(parent), m_data(reportingData), m_request(std::move(request)) {
    m_request.kind = kind;
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    QPalette paper = viewport()->palette();
    paper.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(paper);
}

bool CReportWnd::layOut() {
    m_pages = layoutReport(m_data, m_request, m_geometry);
    updateScrollRange();
    viewport()->update();
    return !m_pages.empty();
}

PrintResult CReportWnd::print(QPagedPaintDevice& device) const {
    return printReportPages(layoutReport(m_data, m_request, printableGeometry(device)), device);
}

double CReportWnd::pixelsPerUnitX() const {
    return viewport()->logicalDpiX() / kUnitsPerInch;
}

double CReportWnd::pixelsPerUnitY() const {
    return viewport()->logicalDpiY() / kUnitsPerInch;
}

QSize CReportWnd::contentSize() const {
    const long long pageCount = static_cast<long long>(m_pages.size());
    const long long height = pageCount * -m_geometry.height + kBottomMargin;
    return {static_cast<int>(std::lround((m_geometry.width + kExtraWidth) * pixelsPerUnitX())),
            static_cast<int>(std::lround(static_cast<double>(height) * pixelsPerUnitY()))};
}

void CReportWnd::updateScrollRange() {
    const QSize content = contentSize();
    const QSize visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - visible.width()));
    horizontalScrollBar()->setPageStep(visible.width());
    horizontalScrollBar()->setSingleStep(
        static_cast<int>(std::lround(kLineHeight * pixelsPerUnitX())));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - visible.height()));
    verticalScrollBar()->setPageStep(visible.height());
    verticalScrollBar()->setSingleStep(
        static_cast<int>(std::lround(kLineHeight * pixelsPerUnitY())));
}

void CReportWnd::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void CReportWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const double pageHeight = -m_geometry.height * pixelsPerUnitY();
    const double left = -horizontalScrollBar()->value();
    const double visibleTop = verticalScrollBar()->value();
    const QRect dirty = event->rect();
    for (std::size_t k = 0; k < m_pages.size(); ++k) {
        const double top = static_cast<double>(k) * pageHeight - visibleTop;
        if (top > dirty.bottom() || top + pageHeight < dirty.top()) {
            continue;
        }
        painter.setTransform(reportTransform(*viewport(), QPointF(left, top)));
        drawReportPage(painter, m_pages[k]);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QPointF(0, m_geometry.height),
                         QPointF(m_geometry.width + kExtraWidth, m_geometry.height));
    }
}

void CReportWnd::keyPressEvent(QKeyEvent* event) {
    // Page Up, Page Down and the arrows are the scroll area's own.
    switch (event->key()) {
    case Qt::Key_Home:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

CReportWnd* createReportView(ReportKind kind, const ReportingData& data, ReportRequest request,
                             QWidget* parent) {
    switch (kind) {
    case ReportKind::Projects:
        return new CProjectReportView(data, std::move(request), parent);
    case ReportKind::Clients:
        return new CClientReportView(data, std::move(request), parent);
    case ReportKind::Expenses:
        return new CExpenseReportView(data, std::move(request), parent);
    case ReportKind::Invoice:
        return new CInvoiceReportView(data, std::move(request), parent);
    case ReportKind::Rates:
        return new CRateReportView(data, std::move(request), parent);
    }
    return nullptr;
}

} // namespace vsolo::reporting
