#include "core/model/export.h"

namespace vsolo {

namespace {
constexpr std::size_t kChunk = 1 << 20;
} // namespace

char exportSeparator(ExportFormat format) {
    return format == ExportFormat::CommaSeparated ? ',' : '\t';
}

namespace {

void appendExportFields(std::string& out, std::string_view dateText, const Transaction& t,
                        const TemplateFile& file, char separator) {
    const bool tree = file.isTreeShape();
    out += dateText;
    out += separator;
    out += level1Name(t, file.level1(), tree);
    out += separator;
    out += level2Name(t, file.level2(), tree);
    out += separator;
    appendClockTime(out, t.start());
    out += separator;
    appendClockTime(out, t.end());
    out += separator;
    // "%h:%m": hours within the day and minutes, two digits each.
    appendClockTime(out, TimeValue(t.duration() % TimeValue::kDay));
    out += separator;
    out += t.description();
    out += separator;
    out += "\r\n";
}

} // namespace

void appendExportLine(std::string& out, const Transaction& t, const TemplateFile& file,
                      char separator) {
    std::string date;
    appendShortDate(date, t.date());
    appendExportFields(out, date, t, file, separator);
}

bool writeExport(const TemplateFile& file, TransactionStore::DayRange range, ExportFormat format,
                 const std::function<bool(std::string_view)>& sink) {
    if (range.empty()) {
        return true;
    }
    const char separator = exportSeparator(format);
    std::string chunk;
    chunk.reserve(kChunk + 4096);
    std::string date;
    for (int i = range.first; i <= range.last; ++i) {
        const Day& day = *file.store().day(static_cast<std::size_t>(i));
        date.clear();
        appendShortDate(date, day.date());
        for (const Transaction& t : day.transactions()) {
            appendExportFields(chunk, date, t, file, separator);
        }
        if (chunk.size() >= kChunk) {
            if (!sink(chunk)) {
                return false;
            }
            chunk.clear();
        }
    }
    return chunk.empty() || sink(chunk);
}

} // namespace vsolo
