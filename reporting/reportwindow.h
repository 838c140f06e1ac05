#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include "reporting/layout/reportpages.h"
#include "reporting/render/reportrender.h"

#include <QAbstractScrollArea>
#include <vector>

class QPagedPaintDevice;

namespace vsolo::reporting {

// A report on the screen: its pages one below the other, each ended by a line across the whole
// width, in a scrolled area a little wider than a page. The report's pages are laid out again for
// every device they go to, so the printed report fits the printer's page.
class CReportWnd : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The extra width of the scrolled area beside a page, and the room below the last page so
    // that its closing line shows too, in report units: every page is reachable in whole.
    static constexpr int kExtraWidth = 500;
    static constexpr int kBottomMargin = 20;

    CReportWnd(ReportKind kind, const ReportingData& reportingData, ReportRequest request,
               QWidget* parent = nullptr);

    ReportKind kind() const { return m_request.kind; }
    const ReportRequest& request() const { return m_request; }
    // Lays the report out for the screen; false when it has no page to show.
    bool layOut();
    const std::vector<ReportPage>& pages() const { return m_pages; }
    // The report laid out for the printable area of `device` and sent there.
    PrintResult print(QPagedPaintDevice& device) const;

    // The size of the scrolled area in the screen's pixels.
    QSize contentSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateScrollRange();
    double pixelsPerUnitX() const;
    double pixelsPerUnitY() const;

    const ReportingData& m_data;
    ReportRequest m_request;
    PageGeometry m_geometry = PageGeometry::screen();
    std::vector<ReportPage> m_pages;
};

// The five reports; each is the window with its kind.
class CProjectReportView final : public CReportWnd {
public:
    CProjectReportView(const ReportingData& reportingData, ReportRequest request,
                       QWidget* parent = nullptr)
        : CReportWnd(ReportKind::Projects, reportingData, std::move(request), parent) {}
};

class CClientReportView final : public CReportWnd {
public:
    CClientReportView(const ReportingData& reportingData, ReportRequest request,
                      QWidget* parent = nullptr)
        : CReportWnd(ReportKind::Clients, reportingData, std::move(request), parent) {}
};

class CExpenseReportView final : public CReportWnd {
public:
    CExpenseReportView(const ReportingData& reportingData, ReportRequest request,
                       QWidget* parent = nullptr)
        : CReportWnd(ReportKind::Expenses, reportingData, std::move(request), parent) {}
};

class CInvoiceReportView final : public CReportWnd {
public:
    CInvoiceReportView(const ReportingData& reportingData, ReportRequest request,
                       QWidget* parent = nullptr)
        : CReportWnd(ReportKind::Invoice, reportingData, std::move(request), parent) {}
};

class CRateReportView final : public CReportWnd {
public:
    CRateReportView(const ReportingData& reportingData, ReportRequest request,
                    QWidget* parent = nullptr)
        : CReportWnd(ReportKind::Rates, reportingData, std::move(request), parent) {}
};

// The view of a report kind.
CReportWnd* createReportView(ReportKind kind, const ReportingData& data, ReportRequest request,
                             QWidget* parent);

} // namespace vsolo::reporting
