#include "tracker/reports/periodview.h"

#include "core/document.h"
#include "print/printedreport.h"
#include "tracker/app/commands.h"
#include "tracker/app/viewhost.h"
#include "tracker/reports/printing.h"
#include "tracker/timesheet/daterangedialog.h"

#include <optional>

namespace vsolo {

PeriodView::PeriodView(ViewHost& host, std::string_view rangeKey, int number, QString windowName,
                       int helpContext, QWidget* parent)
    : View(number, std::move(windowName), helpContext, parent), m_host(host), m_rangeKey(rangeKey) {
}

DateRange PeriodView::storedRange() const {
    CSoloDoc& doc = m_host.document();
    return loadDateRange(doc.settings().store(), m_rangeKey, doc.templateFile().clock());
}

bool PeriodView::handles(int c) const {
    using namespace command;
    return c == kDateRange || c == kPrint || c == kPrintPreview || c == kBackToMainWindow;
}

bool PeriodView::isEnabled(int c) const {
    using namespace command;
    if (c == kPrint || c == kPrintPreview) {
        return hasData();
    }
    return PeriodView::handles(c);
}

void PeriodView::run(int c) {
    using namespace command;
    switch (c) {
    case kDateRange:
        changeRange();
        break;
    case kPrint:
        print(false);
        break;
    case kPrintPreview:
        print(true);
        break;
    case kBackToMainWindow:
        emit switchRequested(kMainWindow);
        break;
    default:
        break;
    }
}

void PeriodView::closeRequested() {
    run(command::kBackToMainWindow);
}

void PeriodView::changeRange() {
    const std::optional<DateRange> range =
        DateRangeDialog::ask(this, m_host.document(), m_host.prompter(), m_rangeKey);
    if (range) {
        applyRange(*range);
        m_host.updateCommands();
    }
}

void PeriodView::print(bool preview) {
    if (!hasData()) {
        return;
    }
    const std::unique_ptr<PrintedReport> paper = paperReport();
    printOrPreview(*paper, m_host.printer(), this, preview);
}

} // namespace vsolo
