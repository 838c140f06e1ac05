#pragma once

#include "core/base/fileio.h"
#include "core/base/usertext.h"
#include "reporting/data/reportingdata.h"
#include "reporting/data/reportingresult.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo::reporting {

// The reporting file (.vsr) beside the template, all integers little-endian:
//   version (32-bit, 1); type text, 25 bytes: "Veltimo Solo Reports", zero-filled;
//   expenses: count, then per expense: project number, expense id, reserved, date (32-bit each),
//     amount (IEEE double), description (counted text);
//   rates: count, then per rate: code (counted text), amount (double), description (counted);
//   clients: count, then per client: client id (32-bit), name (counted text);
//   assignments: count, then per template item: group number, sub-id (32-bit), rate code
//     (counted text, empty when none), client id (32-bit, 0 when none).
// A counted text is a 32-bit length that includes the terminating zero, then the text and the
// zero; the empty text is the length 1 and one zero byte. Texts are written in UTF-8 and read
// as Windows-1252 when they are not valid UTF-8. The header is read and not tested; a count or a
// length that runs past the end of the file, or a length above kTextBufferSize, makes the whole
// file damaged. Bytes after the assignments are ignored.

inline constexpr std::int32_t kReportingFileVersion = 1;
inline constexpr const char* kReportingFileType = VSOLO_FIXED("Veltimo Solo Reports");
inline constexpr std::size_t kReportingTypeSize = 25;
// The longest text the file takes, in bytes of UTF-8: the reader's buffer holds the zero too. A
// text read as Windows-1252 may need more than this once it is written in UTF-8.
inline constexpr std::size_t kStoredTextMaxBytes = kTextBufferSize - 1;

// One assignment record as stored.
struct Assignment {
    std::int32_t groupNumber = 0;
    std::int32_t subId = 0;
    std::string rateCode;
    std::int32_t clientId = 0;
};

// Everything a reporting file holds, in file order.
struct ReportingFileContent {
    std::vector<ExpenseEntry> expenses;
    std::vector<RateEntry> rates;
    std::vector<ClientEntry> clients;
    std::vector<Assignment> assignments;
};

// The content of a file's bytes. False when the bytes are damaged: `detail` then says what runs
// past what, and `out` is left empty.
bool decodeReportingFile(std::string_view bytes, ReportingFileContent& out, std::string& detail);
// The bytes of a file. False, with `detail` naming the text, when a text is too long for the
// reader's buffer; nothing is produced then.
bool encodeReportingFile(const ReportingFileContent& content, std::string& out,
                         std::string& detail);

// Reads the file at `path`. Failures: CannotOpen (message: the system's cause), Damaged (message
// names the file and says what is wrong). `stamp`, when given, is set to what the file held
// whenever its bytes could be read.
ReportingResult readReportingFileAt(const std::string& path, ReportingFileContent& out,
                                    FileStamp* stamp = nullptr);
// Writes the file safely. Failures: WriteFailed, Unstorable; the old file is left as it was. With
// `expected`, the file is written only while it still holds what was read (else ChangedElsewhere),
// and `expected` then becomes what was written.
ReportingResult writeReportingFileAt(const std::string& path, const ReportingFileContent& content,
                                     FileStamp* expected = nullptr);

// Told after a reporting file that is there but could not be read.
inline constexpr const char* kKeptFileNotice =
    VSOLO_TR("The expense, rate and client lists stay empty, and the file is not overwritten "
             "without asking.");

// Names, for the user, the texts of the data's lists that take more than kStoredTextMaxBytes, so
// that the reporting file cannot be written until they are shortened; empty when every text fits.
std::string oversizedTextsNotice(const ReportingData& data);

// The text shown for a damaged reporting file.
std::string damagedReportingFileText(const std::string& path, const std::string& detail);

} // namespace vsolo::reporting
