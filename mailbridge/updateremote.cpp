// DLLUpdateRemote: collects the time sheets received by mail into a file of hand-off records.

#include "core/base/bytes.h"
#include "core/base/fileerrortext.h"
#include "core/base/fileio.h"
#include "mailbridge/bridge.h"
#include "mailbridge/osxmapi.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace mail = vsolo::mail;

namespace {

constexpr const char* kTimeSheetType = "Transaction file";
constexpr int kColumns = 6;

// The leading decimal number of a text, as a key: spaces, a sign, digits; 0 without digits, and
// clamped to what 32 bits hold.
std::int32_t decimalKey(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        ++text;
    }
    std::int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value <= std::int64_t{INT32_MAX} + 1) {
            value = value * 10 + (*text - '0');
        }
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::int64_t{INT32_MIN}, std::int64_t{INT32_MAX}));
}

// The legacy hand-off record of one time-sheet row (columns: date, start, end, level-1 key,
// level-2 key, description), 112 bytes: resource name 9, level-1 key 4, level-2 key 4, date 11,
// start 6, date 11, end 6, description 61. Texts in Windows-1252, cut to their slots.
void appendRecord(vsolo::ByteWriter& out, const mail::BodyParser& body, int row) {
    out.writeFixedText(body.resourceName(), 9);
    out.writeI32(decimalKey(body.field(row, 3)));
    out.writeI32(decimalKey(body.field(row, 4)));
    out.writeFixedText(body.field(row, 0), 11);
    out.writeFixedText(body.field(row, 1), 6);
    out.writeFixedText(body.field(row, 0), 11);
    out.writeFixedText(body.field(row, 2), 6);
    out.writeFixedText(body.field(row, 5), 61);
}

// The records of one time sheet; false, with nothing added, for a body that does not parse or
// holds fewer complete records than its header announces.
bool appendTimeSheet(vsolo::ByteWriter& out, mail::BodyParser& parser, const char* noteText) {
    const std::string note = noteText != nullptr ? noteText : "";
    std::vector<char> buffer(note.begin(), note.end());
    buffer.push_back('\0');
    const long before = parser.rowsParsed();
    if (parser.parse(buffer.data(), kColumns) != mail::BodyParser::Outcome::Parsed) {
        return false;
    }
    const int records = parser.recordCount();
    if (parser.rowsParsed() - before < records) {
        return false;
    }
    for (int row = 0; row < records; ++row) {
        appendRecord(out, parser, row);
    }
    return true;
}

void tellFileError(const vsolo::FileError& error, const std::string& path) {
    const std::optional<std::string> text = vsolo::fileErrorText(error, path);
    mail::Bridge::instance().messageBox(text ? *text : "Cannot write " + path, "Error",
                                        OSX_MB_OK | OSX_MB_ICONERROR);
}

} // namespace

extern "C" int DLLUpdateRemote(const char* file, const char* profile, const char* password) {
    mail::Bridge& bridge = mail::Bridge::instance();
    const std::string path = file != nullptr ? file : "";
    vsolo::FileError error;
    vsolo::LockedFile out =
        vsolo::LockedFile::open(path, vsolo::LockedFile::Mode::ReadWriteCreate, error);
    if (!out.isOpen()) {
        tellFileError(error, path);
        return 0;
    }
    if (InitMAPI() == 0) {
        bridge.messageBox("There was a problem initializing MAPI, you may not have a MAPI "
                          "compliant e-mail application.",
                          "MAPI Error", OSX_MB_OK | OSX_MB_ICONERROR);
        return 0;
    }
    // Without a mailbox nothing can be collected, and saying "done" would hide that.
    if (const ULONG logon = mapiLogonEx(0, profile, password, MAPI_NEW_SESSION); logon != 0) {
        bridge.shown(logon);
        return 0;
    }

    // A private parser: the process-wide table must not point into this function's buffers.
    mail::BodyParser parser;
    vsolo::ByteWriter records;
    std::vector<std::string> used;
    std::size_t left = 0;
    std::string seed;
    char id[OSX_MESSAGE_ID_SIZE] = {};
    ULONG found = 0;
    while ((found = mapiFindNext(0, kTimeSheetType, seed.c_str(), MAPI_LONG_MSGID, id)) == 0) {
        seed = id;
        MapiMessage* message = nullptr;
        if (mapiReadMail(0, id, MAPI_PEEK | MAPI_SUPPRESS_ATTACH, &message) != 0) {
            ++left;
            continue;
        }
        if (appendTimeSheet(records, parser, message->lpszNoteText)) {
            used.push_back(seed);
        } else {
            ++left;
        }
        mapiFreeBuffer(message);
    }

    // The records are on disk before any message goes: a failed write keeps every message.
    if (records.size() > 0 && !out.appendDurably(records.data(), error)) {
        tellFileError(error, path);
        mapiLogoff(0, 0);
        return 0;
    }
    out.close();
    std::size_t kept = 0;
    for (const std::string& written : used) {
        if (mapiDeleteMail(0, written.c_str()) != 0) {
            ++kept;
        }
    }
    if (left > 0) {
        bridge.messageBox("Time-sheet messages left in the mailbox because they could not be "
                          "read as time sheets: " +
                              std::to_string(left),
                          "Warning", OSX_MB_OK | OSX_MB_ICONWARNING);
    }
    if (kept > 0) {
        bridge.messageBox("Time-sheet messages written to the file but not removed from the "
                          "mailbox, which collecting again would write twice: " +
                              std::to_string(kept),
                          "Warning", OSX_MB_OK | OSX_MB_ICONWARNING);
    }
    mapiLogoff(0, 0);
    return found == MAPI_E_NO_MESSAGES && kept == 0 ? 1 : 0;
}
