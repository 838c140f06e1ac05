#pragma once

#include "core/base/usertext.h"
#include "core/model/templatefile.h"

#include <functional>
#include <string>
#include <string_view>

namespace vsolo {

// The two text exports of the time sheet. Lines hold seven fields, each followed by the separator,
// and end with CR LF; nothing is quoted, so a separator inside a description is written as it is.
enum class ExportFormat { CommaSeparated, TabDelimited };

inline constexpr const char* kExportCreateFailedText = VSOLO_TR("Failed to create/open file.");

char exportSeparator(ExportFormat format);
// date, level-1 name, level-2 name, start, end, duration ("?" for an item that is gone, 00:00 for
// a transaction in error), description.
void appendExportLine(std::string& out, const Transaction& t, const TemplateFile& file,
                      char separator);
// Every transaction of the days of the range, in store order, handed to the sink in chunks. False
// when the sink refused a chunk.
bool writeExport(const TemplateFile& file, TransactionStore::DayRange range, ExportFormat format,
                 const std::function<bool(std::string_view)>& sink);

} // namespace vsolo
