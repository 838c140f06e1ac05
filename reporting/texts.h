#pragma once

// The reporting tool's own texts, as the user sees them.
namespace vsolo::reporting::text {

inline constexpr char kApplicationTitle[] = "Veltimo Solo Reporting";
inline constexpr char kRateSpreadQuestion[] =
    "Do you want to change the rate for this task, and all items below it?";
// %s stands for the level-1 title.
inline constexpr char kSelectProjects[] =
    "Please select one or more %s before viewing this report.";
inline constexpr char kNoReportData[] =
    "No data for the requested parameters was found.  Report will not be displayed.";
inline constexpr char kPrintFailed[] =
    "There was an error sending output to the printer.  Check to see that you have paper, your "
    "printer is online, and connected properly.";
inline constexpr char kInvoiceReport[] = "Invoice Report";
inline constexpr char kOpenFilter[] = "Veltimo Solo Files (*.tpl)";
inline constexpr char kUntitled[] = "Untitled";
// In a status bar while the transaction file is read after the window showed (UTF-8).
inline constexpr char kLoadingTransactions[] = "Loading transactions\u2026";

} // namespace vsolo::reporting::text
