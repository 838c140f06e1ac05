#pragma once

#include "reporting/data/reportingdata.h"
#include "reporting/data/reportingresult.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo::reporting {

// The reporting tool's own readers of the tracker's files; they never write them.
//
// Template (.tpl): version (32-bit, must be 4), type text of 25 bytes (not tested), 71 bytes
// skipped, so that the item count stands at offset 100; then per item: group number, parent
// sub-id, sub-id, depth (32-bit each), active flag (8-bit), level byte (8-bit, taken as stored),
// target percentage (16-bit), name, description and third text (counted texts of at most
// kTextBufferSize bytes). Nothing after the items is read.
//
// `out` is replaced; on failure it is left empty. Failures: CannotOpen (61216 with the path),
// NotRecognized (61203), Damaged (a count or text running past the end or the buffer).
ReportingResult readTemplateFile(const std::string& path, std::vector<TemplateItem>& out);
// The same over the file's bytes; `path` names the file in the messages.
ReportingResult decodeTemplateFile(std::string_view bytes, const std::string& path,
                                   std::vector<TemplateItem>& out);

// Transactions (.trs): version (32-bit, must be 4), type text of 25 bytes that must read
// "Transaction File" up to its first zero; then records up to the end of the file, each: group
// number, sub-id (32-bit), date "MM/DD/YYYY" and a zero (11 bytes), start and end time "HH:MM"
// and a zero (6 bytes each), sent flag (32-bit), description length L (32-bit) and L bytes.
// Digits are taken by position. The descriptions are skipped, never decoded or kept: the file is
// read through a buffer of 64 KiB, and a description longer than what is left of it is passed by
// seeking, whatever its length. Fewer than 4 bytes at the end are no record. A last record cut
// short (an append that was interrupted) ends the list and sets `cutShort`: its fixed fields run
// past the end, or its description does and what is left could be the start of one the tracker
// writes.
//
// `out` is replaced; on failure it is left empty. Failures: CannotOpen and NotRecognized with
// the two transaction messages; Damaged, naming the file and the record's offset, for a
// description length that is negative or runs past the end over what cannot be a description.
ReportingResult readTransactionFile(const std::string& path, std::vector<TimeSpan>& out,
                                    bool& cutShort);
// The same over the file's bytes; `path` names the file in the messages.
ReportingResult decodeTransactionFile(std::string_view bytes, const std::string& path,
                                      std::vector<TimeSpan>& out, bool& cutShort);

// Seconds since 1970 UTC of a local date and time (seconds 0), with the daylight-saving state
// the C library works out for that date in the process's time zone. An impossible date is
// normalised the way mktime does it (day 32 of a month is the 1st of the next).
std::int32_t localTimeToUtc(int year, int month, int day, int hour, int minute);

} // namespace vsolo::reporting
