#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include "core/base/clock.h"
#include "dialogfixture.h"
#include "reporting/data/reportingdocument.h"
#include "reporting/editors.h"
#include "reporting/mainframe.h"
#include "reporting/reportselection.h"
#include "tests/support/recordingstore.h"

#include <QDateTime>
#include <QListWidget>
#include <memory>

namespace vsolo::reporting::testing {

// The tool's window over the managers' data, its store recording every write, the period all of
// March 2026 (the expenses' month) and the clock on a day of April.
struct ReportsWindow : ReportingFixture {
    ReportingDocument doc{data};
    vsolo::testing::RecordingStore store;
    SettableClock clock;
    DialogEditors editors{data, settings, store, prompter, clock};
    std::unique_ptr<CMainFrame> frame;

    ReportsWindow() {
        settings.level1Title = "Job";
        settings.fromTime = moment(2026, 3, 1, 12, 30);
        settings.toTime = moment(2026, 3, 31, 8, 15);
        clock.set(TimeValue::fromParts(20552, 9, 0, 0)); // Thursday, April 09, 2026
        frame = std::make_unique<CMainFrame>(doc, prompter, store, editors, settings, clock);
    }

    static std::int64_t moment(int year, int month, int day, int hour, int minute) {
        return QDateTime(QDate(year, month, day), QTime(hour, minute)).toSecsSinceEpoch();
    }

    CReportView& form() const { return *frame->selectionForm(); }
    // The selection form with the row chosen and the projects of these names selected.
    void choose(int row, const QStringList& projects = {}) const {
        frame->switchView(CMainFrame::ViewType::Selection);
        form().reportList()->setCurrentRow(row);
        for (int i = 0; i < form().projectList()->count(); ++i) {
            QListWidgetItem* entry = form().projectList()->item(i);
            entry->setSelected(projects.contains(entry->text()));
        }
    }
    // Every view type is reached through the form, as the user does.
    void reach(CMainFrame::ViewType type) const {
        static constexpr int kRowOfType[] = {-1,
                                             -1,
                                             -1,
                                             CReportView::ProjectRow,
                                             CReportView::ClientRow,
                                             CReportView::ExpenseRow,
                                             CReportView::InvoiceRow,
                                             CReportView::RateRow};
        if (type == CMainFrame::ViewType::Main) {
            return;
        }
        choose(type == CMainFrame::ViewType::Selection ? 0 : kRowOfType[static_cast<int>(type)],
               {"Alpha", "Beta"});
        if (type != CMainFrame::ViewType::Selection) {
            frame->preview();
        }
    }
};

} // namespace vsolo::reporting::testing
