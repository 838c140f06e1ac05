#pragma once

#include "mailbridge/parse/bodyparser.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace vsolo::mail {

// The message type of the time sheets that the tracker sends by mail.
inline constexpr const char* kTimeSheetType = "Transaction file";
// A time sheet's table: date, start, end, level-1 key, level-2 key, description.
inline constexpr int kTimeSheetColumns = 6;

// The legacy hand-off record of one time-sheet row, 112 bytes: resource name 9, level-1 key 4,
// level-2 key 4, date 11, start 6, date 11, end 6, description 61. Texts in Windows-1252, cut to
// their fields.
inline constexpr std::size_t kHandOffRecordSize = 9 + 4 + 4 + 11 + 6 + 11 + 6 + 61;

// The leading decimal number of a text, as a key: spaces, a sign, digits; 0 without digits, and
// clamped to what 32 bits hold.
std::int32_t decimalKey(const char* text);

// Appends the records of one time sheet's note text; false, with nothing added, for a body that
// does not parse or holds fewer complete records than its header announces. The parser reads a
// copy of the text that is gone on return: no field of it may be read afterwards.
bool appendTimeSheetRecords(std::string& out, BodyParser& parser, const char* noteText);

} // namespace vsolo::mail
