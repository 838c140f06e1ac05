#pragma once

#include "core/base/usertext.h"

// The reporting tool's own texts, as the user sees them.
namespace vsolo::reporting::text {

inline constexpr char kApplicationTitle[] = VSOLO_TR("Veltimo Solo Reporting");
inline constexpr char kRateSpreadQuestion[] =
    VSOLO_TR("Do you want to change the rate for this task, and all items below it?");
// %s stands for the level-1 title.
inline constexpr char kSelectProjects[] =
    VSOLO_TR("Please select one or more %s before viewing this report.");
inline constexpr char kNoReportData[] =
    VSOLO_TR("No data for the requested parameters was found.  Report will not be displayed.");
inline constexpr char kPrintFailed[] =
    VSOLO_TR("There was an error sending output to the printer.  Check to see that you have "
             "paper, your printer is online, and connected properly.");
inline constexpr char kInvoiceReport[] = VSOLO_TR("Invoice Report");
inline constexpr char kOpenFilter[] = VSOLO_TR("Veltimo Solo Files (*.tpl)");
inline constexpr char kUntitled[] = VSOLO_TR("Untitled");
// In a status bar while the transaction file is read after the window showed (UTF-8).
inline constexpr char kLoadingTransactions[] = VSOLO_TR("Loading transactions\u2026");
// %1 stands for the reporting file, or the document's title when it has none.
inline constexpr char kSaveChanges[] = VSOLO_TR("Save changes to %1?");
inline constexpr char kHelpTitle[] = VSOLO_TR("Veltimo Solo Reporting Help");

} // namespace vsolo::reporting::text
