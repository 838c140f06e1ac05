#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QtGlobal>
#include <memory>

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace vsolo {

class PrintedReport;

// The tracker's way to paper: the print dialog, the preview and the printing itself, all drawing
// through the same page composition (tracker/reports/printedreport.h). The rest of the tracker
// hands over a report and the frame's printer and knows nothing more of printers.

// Prints the pages the printer is set to: all of them, or its from..to range. False when the
// range holds no page or printing failed.
bool printOnPrinter(PrintedReport& report, QPrinter& printer);

// Asks for the printer and the pages in the print dialog, offering the report's pages, then
// prints. False when there is nothing to print, the user cancelled or printing failed.
bool printWithDialog(PrintedReport& report, QPrinter& printer, QWidget* parent);

// The preview of every page, not yet shown: Page Down and Page Up turn the pages, Escape closes
// it, and its print button prints through printOnPrinter().
std::unique_ptr<QPrintPreviewDialog> makePrintPreview(PrintedReport& report, QPrinter& printer,
                                                      QWidget* parent);
// Shows the preview and returns when it is closed.
void showPrintPreview(PrintedReport& report, QPrinter& printer, QWidget* parent);

// A view's Print Preview (preview) or Print command: the preview, or the print dialog and the
// printing.
void printOrPreview(PrintedReport& report, QPrinter& printer, QWidget* parent, bool preview);

} // namespace vsolo
