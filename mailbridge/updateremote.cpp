// DLLUpdateRemote: collects the time sheets received by mail into a file of hand-off records.

#include "core/base/fileerrortext.h"
#include "core/base/fileio.h"
#include "mailbridge/bridge.h"
#include "mailbridge/osxmapi.h"
#include "mailbridge/parse/timesheetrecords.h"

#include <string>
#include <vector>

namespace mail = vsolo::mail;

namespace {

void tellFileError(const vsolo::FileError& error, const std::string& path) {
    const std::optional<std::string> text = vsolo::fileErrorText(error, path);
    mail::Bridge::instance().messageBox(text ? *text : "Cannot write " + path, "Error",
                                        OSX_MB_OK | OSX_MB_ICONERROR);
}

// A text of a message on one line of the box: its line breaks and other control characters
// are blanks, so that a subject cannot make lines of its own.
std::string oneLine(const char* text) {
    std::string line = text != nullptr ? text : "";
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return line;
}

// "from SENDER, received DATE, subject "SUBJECT"" of a message, read from its header alone, so
// that also a message that cannot be read whole is named.
std::string describe(const std::string& id) {
    MapiMessage* message = nullptr;
    if (mapiReadMail(0, id.c_str(), MAPI_PEEK | MAPI_ENVELOPE_ONLY, &message) != 0) {
        mapiFreeBuffer(message);
        return "the message " + id + ", whose header cannot be read either";
    }
    const MapiRecipDesc* from = message->lpOriginator;
    const std::string name = oneLine(from != nullptr ? from->lpszName : nullptr);
    const std::string address = oneLine(from != nullptr ? from->lpszAddress : nullptr);
    std::string sender =
        name.empty() || address.empty() ? name + address : name + " <" + address + ">";
    std::string text = "from " + (sender.empty() ? "an unknown sender" : sender) + ", received " +
                       oneLine(message->lpszDateReceived) + ", subject \"" +
                       oneLine(message->lpszSubject) + "\"";
    mapiFreeBuffer(message);
    return text;
}

} // namespace

int mail::updateRemote(const char* file, const char* profile, const char* password) {
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
        const std::string& why = bridge.initFailure();
        bridge.messageBox(why.empty() ? "There was a problem initializing MAPI, you may not have a "
                                        "MAPI compliant e-mail application."
                                      : why,
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
    std::string records;
    std::vector<std::string> used;
    std::vector<std::string> left;
    std::string seed;
    char id[OSX_MESSAGE_ID_SIZE] = {};
    ULONG found = 0;
    while ((found = mapiFindNext(0, mail::kTimeSheetType, seed.c_str(), MAPI_LONG_MSGID, id)) ==
           0) {
        seed = id;
        MapiMessage* message = nullptr;
        if (mapiReadMail(0, id, MAPI_PEEK | MAPI_SUPPRESS_ATTACH, &message) != 0) {
            left.push_back(seed);
            continue;
        }
        if (mail::appendTimeSheetRecords(records, parser, message->lpszNoteText)) {
            used.push_back(seed);
        } else {
            left.push_back(seed);
        }
        mapiFreeBuffer(message);
    }

    // The records are on disk before any message goes: a failed write keeps every message.
    if (records.size() > 0 && !out.appendDurably(records, error)) {
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
    if (!left.empty()) {
        std::string text = "Time-sheet messages left in the mailbox because they could not be "
                           "read as time sheets: " +
                           std::to_string(left.size());
        for (const std::string& message : left) {
            text.append("\n").append(describe(message));
        }
        bridge.messageBox(text, "Warning", OSX_MB_OK | OSX_MB_ICONWARNING);
    }
    if (kept > 0) {
        bridge.messageBox("Time-sheet messages written to the file but not removed from the "
                          "mailbox, which collecting again would write twice: " +
                              std::to_string(kept),
                          "Warning", OSX_MB_OK | OSX_MB_ICONWARNING);
    }
    mapiLogoff(0, 0);
    if (found != MAPI_E_NO_MESSAGES || kept > 0) {
        return 0;
    }
    return left.empty() ? 1 : 2;
}
