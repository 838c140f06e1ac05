#pragma once

#include "core/base/fileio.h"
#include "core/base/fileresult.h"
#include "core/base/usertext.h"
#include "core/model/templateformat.h"
#include "core/model/transactionformat.h"
#include "core/model/transactions.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo {

// The recovery file keeps time that was tracked but is not yet in the transaction file: the
// running transaction while tracking runs, and finished transactions that the transaction file
// would not take. It lives beside the template (TemplatePaths::recoveryFile), is replaced whole
// (temporary file, flush, rename) so that a killed process leaves either the old or the new
// complete file, and is removed once its time is stored.
//
// Layout, one "key=value" per line, each line ended by "\n":
//   Veltimo Solo recovery file, version 1
//   record=1                 (records are numbered from 1, in order)
//   date=03/15/2024          (MM/DD/YYYY)
//   start=09:14              (HH:MM)
//   end=10:05                (HH:MM, the last end that was known)
//   level1=1                 (decimal 32-bit keys)
//   level2=1
//   description=...          (escaped: \\ \n \r \t and \xHH for other control bytes)
//   ... further records ...
//   records=1                (the last line: how many records came before)
// A value runs from the first '=' to the end of the line, so '=' needs no escape; bytes from 0x80
// up are kept as they are.

inline constexpr std::string_view kRecoveryFirstLine =
    VSOLO_FIXED("Veltimo Solo recovery file, version 1");
// A real recovery file is a few hundred bytes; anything far larger is not one, and is not read.
inline constexpr std::size_t kRecoveryFileSizeLimit = std::size_t{4} << 20;

// %1 date, %2 start, %3 last known end, %4 level-1 title, %5 level-1 name, %6 level-2 title,
// %7 level-2 name.
inline constexpr const char* kRecoveryQuestionText = VSOLO_TR(
    "Veltimo Solo found time that was tracked but never stored, most likely because the program "
    "ended unexpectedly:\r\n\r\n%1 from %2 to %3\r\n%4: %5\r\n%6: %7\r\n\r\nDo you want to store "
    "this time now?");
// %1 the recovery file, %2 what is wrong with it, %3 the name it was kept under.
inline constexpr const char* kRecoveryKeptAsideText =
    VSOLO_TR("The file %1 keeps tracked time safe until it is stored, but it cannot be used: "
             "%2.\r\n\r\nIt may still hold time that was not stored, so it was kept as %3.");
// %1 the recovery file, %2 what is wrong with it.
inline constexpr const char* kRecoveryLeftInPlaceText = VSOLO_TR(
    "The file %1 keeps tracked time safe until it is stored, but it cannot be used: "
    "%2.\r\n\r\nIt may still hold time that was not stored, so it was left as it is. Until it is "
    "moved away, time being tracked for this file is kept only in memory until tracking stops.");
// %1 the recovery file, %2 what is wrong with it, %3 the error number of the rename.
inline constexpr const char* kRecoveryNotRenamedText = VSOLO_TR(
    "The file %1 keeps tracked time safe until it is stored, but it cannot be used: "
    "%2.\r\n\r\nIt may still hold time that was not stored, but it could not be renamed (error "
    "%3), so it was left as it is. Until it is moved away, time being tracked for this file is "
    "kept only in memory until tracking stops.");
// %1 the recovery file, %2 the error number.
inline constexpr const char* kRecoveryWriteFailedText = VSOLO_TR(
    "The time being tracked could not be kept safe in the file %1 (error %2).\r\n\r\nTracking "
    "goes on and the time is stored when tracking stops, but if Veltimo Solo ends unexpectedly "
    "before that, the time tracked since the start can be lost. This message is not repeated.");

// The file's text for the records, in their order.
std::string serializeRecovery(const std::vector<Transaction>& records);
// Reads the text written by serializeRecovery. Anything else (a missing line, a key twice, a
// value out of range, a bad escape, text after the last line) makes it damaged; `records` is then
// left empty.
ParseResult parseRecovery(std::string_view text, std::vector<Transaction>& records);

// Reads the records of a recovery file. Absent when there is no file; any failure has a detail
// that says what is wrong, for the user. `records` is left empty unless it was read.
FileResult readRecoveryFile(const std::string& path, std::vector<Transaction>& records);
bool writeRecoveryFile(const std::string& path, const std::vector<Transaction>& records,
                       FileError& error);
// For a disk that is full, where writeRecoveryFile() cannot make its temporary file: writes the
// records over the recovery file that is there (LockedFile::overwriteInPlace), so that it still
// says what is to be stored. Fails when there is no file or the text does not fit in it.
bool overwriteRecoveryFile(const std::string& path, const std::vector<Transaction>& records,
                           FileError& error);
// Whether the error is the disk (or the user's quota) being full.
bool isOutOfSpace(const FileError& error);

// Renames a recovery file that cannot be used to a free name beside it ("<file>.damaged",
// "<file>.damaged-2", ...), so that its contents stay on disk for the user while a new recovery
// file can take its place. False when no name could be taken: `error` then says why the rename
// failed, or is left as it was (number 0) when every name was taken.
bool setRecoveryFileAside(const std::string& path, std::string& keptAs, FileError& error);

// Whether the transaction file already holds the transaction exactly as an append in the layout
// would have written it. Used to recognise time that was stored just before the program ended
// but whose recovery file had not been removed yet. A file that cannot be read holds nothing.
bool transactionFileHolds(const std::string& path, TransactionLayout layout, const Transaction& t);

// The question asked for one recovered transaction.
std::string recoveryQuestion(const Transaction& t, std::string_view level1Title,
                             std::string_view level1Name, std::string_view level2Title,
                             std::string_view level2Name);

} // namespace vsolo
