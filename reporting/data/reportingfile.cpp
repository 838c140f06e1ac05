#include "reporting/data/reportingfile.h"

#include "core/base/bytes.h"
#include "core/base/fileerrortext.h"
#include "core/base/fileio.h"
#include "core/base/placeholders.h"
#include "core/base/usertext.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace vsolo::reporting {
namespace {

static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559);

// A text too long for the file, as a write refuses it: %1 stands for its first characters, %2 for
// the most bytes a text may take.
constexpr const char* kLongDescriptionOfExpense =
    VSOLO_TR("The description of an expense \"%1...\" is longer than %2 bytes.");
constexpr const char* kLongCodeOfRate =
    VSOLO_TR("The code of a rate \"%1...\" is longer than %2 bytes.");
constexpr const char* kLongDescriptionOfRate =
    VSOLO_TR("The description of a rate \"%1...\" is longer than %2 bytes.");
constexpr const char* kLongNameOfClient =
    VSOLO_TR("The name of a client \"%1...\" is longer than %2 bytes.");
constexpr const char* kLongRateCodeOfItem =
    VSOLO_TR("The rate code of an item \"%1...\" is longer than %2 bytes.");

// The same texts as a read names them, one a line: %1 stands for the first characters, %2 for the
// bytes the text takes, %3 for the item's name.
constexpr const char* kOversizedDescriptionOfExpense =
    VSOLO_TR("the description of an expense \"%1...\" (%2 bytes)");
constexpr const char* kOversizedCodeOfRate = VSOLO_TR("the code of a rate \"%1...\" (%2 bytes)");
constexpr const char* kOversizedDescriptionOfRate =
    VSOLO_TR("the description of a rate \"%1...\" (%2 bytes)");
constexpr const char* kOversizedNameOfClient =
    VSOLO_TR("the name of a client \"%1...\" (%2 bytes)");
constexpr const char* kOversizedRateCodeOfItem =
    VSOLO_TR("the rate code of the item \"%3\" \"%1...\" (%2 bytes)");
// %1 stands for how many more texts are too long than are named.
constexpr const char* kOversizedMore = VSOLO_TR("and %1 more");
// %1 stands for the reporting file, %2 for the most bytes a text may take, %3 for the texts named.
constexpr const char* kOversizedTexts =
    VSOLO_TR("These texts of %1 take more than the %2 bytes a text of the file may hold once it is "
             "saved:%3\r\n\r\nThe file cannot be saved until they are shortened.");
// %1 stands for the file.
constexpr const char* kCannotWrite = VSOLO_TR("Cannot write %1.");

bool readDouble(ByteReader& reader, double& out) {
    std::string_view bytes;
    if (!reader.readBytes(8, bytes)) {
        return false;
    }
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = (bits << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    }
    out = std::bit_cast<double>(bits);
    return true;
}

void writeDouble(ByteWriter& writer, double value) {
    auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        writer.writeU8(static_cast<std::uint8_t>(bits & 0xFF));
        bits >>= 8;
    }
}

// Reads the fields of one section and says which one ran out.
class SectionReader {
public:
    SectionReader(ByteReader& reader, std::string& detail) : m_reader(reader), m_detail(detail) {}

    bool i32(std::int32_t& out, const char* what) {
        if (m_reader.readI32(out)) {
            return true;
        }
        return fail(std::string(what) + " runs past the end of the file");
    }
    bool real(double& out, const char* what) {
        const std::size_t at = m_reader.position();
        if (!readDouble(m_reader, out)) {
            return fail(std::string(what) + " runs past the end of the file");
        }
        // No amount is shown as one figure and summed as another: not a number and the
        // infinities are damage.
        if (!std::isfinite(out)) {
            return fail(std::string("the amount of ") + what + " at byte " + std::to_string(at) +
                        " is not a number");
        }
        return true;
    }
    bool text(std::string& out, const char* what) {
        const std::size_t at = m_reader.position();
        switch (m_reader.readCountedText(kTextBufferSize, out)) {
        case ByteReader::CountedText::Ok:
            return true;
        case ByteReader::CountedText::TooLong:
            return fail(std::string("the length of ") + what + " at byte " + std::to_string(at) +
                        " is above " + std::to_string(kTextBufferSize) + " bytes");
        case ByteReader::CountedText::Truncated:
            break;
        }
        return fail(std::string(what) + " at byte " + std::to_string(at) +
                    " runs past the end of the file");
    }
    // A count whose records, at `minRecord` bytes each, could not all fit in what is left.
    bool count(std::int32_t& out, const char* what, std::size_t minRecord) {
        const std::size_t at = m_reader.position();
        if (!i32(out, what)) {
            return false;
        }
        if (out < 0 || static_cast<std::uint64_t>(out) * minRecord > m_reader.remaining()) {
            return fail(std::string(what) + " at byte " + std::to_string(at) + " (" +
                        std::to_string(out) + ") claims more than the file holds");
        }
        return true;
    }

private:
    bool fail(std::string detail) {
        m_detail = std::move(detail);
        return false;
    }
    ByteReader& m_reader;
    std::string& m_detail;
};

// The smallest size of each record: its fixed fields and four bytes per counted text.
constexpr std::size_t kMinExpense = 4 * 4 + 8 + 4;
constexpr std::size_t kMinRate = 4 + 8 + 4;
constexpr std::size_t kMinClient = 4 + 4;
constexpr std::size_t kMinAssignment = 4 + 4 + 4 + 4;

bool decodeSections(ByteReader& reader, ReportingFileContent& out, std::string& detail) {
    SectionReader in(reader, detail);
    std::int32_t ignored = 0;
    std::string_view type;
    if (!in.i32(ignored, "the version")) {
        return false;
    }
    if (!reader.readBytes(kReportingTypeSize, type)) {
        detail = "the header runs past the end of the file";
        return false;
    }
    std::int32_t n = 0;
    if (!in.count(n, "the expense count", kMinExpense)) {
        return false;
    }
    out.expenses.resize(static_cast<std::size_t>(n));
    for (ExpenseEntry& e : out.expenses) {
        if (!in.i32(e.projectNumber, "an expense") || !in.i32(e.expenseId, "an expense") ||
            !in.i32(e.reserved, "an expense") || !in.i32(e.date, "an expense") ||
            !in.real(e.amount, "an expense") ||
            !in.text(e.description, "the description of an expense")) {
            return false;
        }
    }
    if (!in.count(n, "the rate count", kMinRate)) {
        return false;
    }
    out.rates.resize(static_cast<std::size_t>(n));
    for (RateEntry& r : out.rates) {
        if (!in.text(r.code, "the code of a rate") || !in.real(r.amount, "a rate") ||
            !in.text(r.description, "the description of a rate")) {
            return false;
        }
    }
    if (!in.count(n, "the client count", kMinClient)) {
        return false;
    }
    out.clients.resize(static_cast<std::size_t>(n));
    for (ClientEntry& c : out.clients) {
        if (!in.i32(c.clientId, "a client") || !in.text(c.name, "the name of a client")) {
            return false;
        }
    }
    if (!in.count(n, "the assignment count", kMinAssignment)) {
        return false;
    }
    out.assignments.resize(static_cast<std::size_t>(n));
    for (Assignment& a : out.assignments) {
        if (!in.i32(a.groupNumber, "an assignment") || !in.i32(a.subId, "an assignment") ||
            !in.text(a.rateCode, "the rate code of an assignment") ||
            !in.i32(a.clientId, "an assignment")) {
            return false;
        }
    }
    return true;
}

// `tooLong` is one of the texts above that refuse a text too long for the file.
bool writeText(ByteWriter& writer, const std::string& text, const char* tooLong,
               std::string& detail) {
    if (text.size() > kStoredTextMaxBytes) {
        detail =
            fillPlaceholders(tx(tooLong), {cutUtf8(text, 40), std::to_string(kStoredTextMaxBytes)});
        return false;
    }
    writer.writeCountedText(text);
    return true;
}

} // namespace

bool decodeReportingFile(std::string_view bytes, ReportingFileContent& out, std::string& detail) {
    ByteReader reader(bytes);
    ReportingFileContent content;
    if (!decodeSections(reader, content, detail)) {
        out = {};
        return false;
    }
    out = std::move(content);
    return true;
}

bool encodeReportingFile(const ReportingFileContent& content, std::string& out,
                         std::string& detail) {
    ByteWriter w;
    w.writeI32(kReportingFileVersion);
    const std::size_t typeLength = std::strlen(kReportingFileType);
    w.writeBytes(std::string_view(kReportingFileType, typeLength));
    w.writeZeros(kReportingTypeSize - typeLength);
    w.writeI32(static_cast<std::int32_t>(content.expenses.size()));
    for (const ExpenseEntry& e : content.expenses) {
        w.writeI32(e.projectNumber);
        w.writeI32(e.expenseId);
        w.writeI32(e.reserved);
        w.writeI32(e.date);
        writeDouble(w, e.amount);
        if (!writeText(w, e.description, kLongDescriptionOfExpense, detail)) {
            return false;
        }
    }
    w.writeI32(static_cast<std::int32_t>(content.rates.size()));
    for (const RateEntry& r : content.rates) {
        if (!writeText(w, r.code, kLongCodeOfRate, detail)) {
            return false;
        }
        writeDouble(w, r.amount);
        if (!writeText(w, r.description, kLongDescriptionOfRate, detail)) {
            return false;
        }
    }
    w.writeI32(static_cast<std::int32_t>(content.clients.size()));
    for (const ClientEntry& c : content.clients) {
        w.writeI32(c.clientId);
        if (!writeText(w, c.name, kLongNameOfClient, detail)) {
            return false;
        }
    }
    w.writeI32(static_cast<std::int32_t>(content.assignments.size()));
    for (const Assignment& a : content.assignments) {
        w.writeI32(a.groupNumber);
        w.writeI32(a.subId);
        if (!writeText(w, a.rateCode, kLongRateCodeOfItem, detail)) {
            return false;
        }
        w.writeI32(a.clientId);
    }
    out = w.take();
    return true;
}

std::string oversizedTextsNotice(const ReportingData& data) {
    // A file may hold many such texts: the first few tell the user where to look.
    constexpr std::size_t kNamed = 10;
    std::size_t count = 0;
    std::string named;
    const auto check = [&](const char* line, const std::string& text,
                           std::string_view itemName = {}) {
        if (text.size() > kStoredTextMaxBytes && ++count <= kNamed) {
            named +=
                "\r\n" + fillPlaceholders(tx(line), {cutUtf8(text, 40), std::to_string(text.size()),
                                                     cutUtf8(itemName, 40)});
        }
    };
    for (const ExpenseEntry& e : data.expenses()) {
        check(kOversizedDescriptionOfExpense, e.description);
    }
    for (const RateEntry& r : data.rates()) {
        check(kOversizedCodeOfRate, r.code);
        check(kOversizedDescriptionOfRate, r.description);
    }
    for (const ClientEntry& c : data.clients()) {
        check(kOversizedNameOfClient, c.name);
    }
    for (const TemplateItem& item : data.items()) {
        check(kOversizedRateCodeOfItem, item.rateCode, item.name);
    }
    if (count == 0) {
        return {};
    }
    if (count > kNamed) {
        named += "\r\n" + fillPlaceholders(tx(kOversizedMore), {std::to_string(count - kNamed)});
    }
    return fillPlaceholders(tx(kOversizedTexts),
                            {data.reportingPath(), std::to_string(kStoredTextMaxBytes), named});
}

std::string damagedReportingFileText(const std::string& path, const std::string& detail) {
    return damagedFileText(path, detail) + "\r\n\r\n" + tx(kKeptFileNotice);
}

ReportingResult readReportingFileAt(const std::string& path, ReportingFileContent& out,
                                    FileStamp* stamp) {
    out = {};
    std::string bytes;
    FileError error;
    if (!readWholeFile(path, bytes, error)) {
        return ReportingResult::failure(ReportingResult::What::CannotOpen, path,
                                        fileErrorText(error, path).value_or(std::string()));
    }
    if (stamp) {
        *stamp = FileStamp::of(bytes);
    }
    std::string detail;
    if (!decodeReportingFile(bytes, out, detail)) {
        return ReportingResult::failure(ReportingResult::What::Damaged, path,
                                        damagedReportingFileText(path, detail));
    }
    return ReportingResult::done();
}

ReportingResult writeReportingFileAt(const std::string& path, const ReportingFileContent& content,
                                     FileStamp* expected) {
    std::string bytes;
    std::string detail;
    if (!encodeReportingFile(content, bytes, detail)) {
        return ReportingResult::failure(ReportingResult::What::Unstorable, path,
                                        unstorableWriteText(path, detail));
    }
    FileError error;
    const GuardedWrite written = expected ? writeFileIfUnchanged(path, bytes, *expected, error)
                                 : writeFileAtomically(path, bytes, error) ? GuardedWrite::Written
                                                                           : GuardedWrite::Failed;
    if (written == GuardedWrite::ChangedElsewhere) {
        return ReportingResult::failure(ReportingResult::What::ChangedElsewhere, path,
                                        conflictText(path, {}));
    }
    if (written == GuardedWrite::Failed) {
        return ReportingResult::failure(
            ReportingResult::What::WriteFailed, path,
            fileErrorText(error, path).value_or(fillPlaceholders(tx(kCannotWrite), {path})));
    }
    return ReportingResult::done();
}

} // namespace vsolo::reporting
