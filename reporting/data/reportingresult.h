#pragma once

#include <string>
#include <utility>

namespace vsolo::reporting {

// What a read or write of the reporting tool came to. Nothing is shown by the data layer: the
// result carries the message for the user, and the caller decides how it is shown.
struct ReportingResult {
    enum class What {
        Done,
        // The file could not be opened (missing, no permission, ...).
        CannotOpen,
        // The file is there but its header says it is not what it should be.
        NotRecognized,
        // A count or a length runs past the end of the file or past the 10000-byte text buffer.
        Damaged,
        // The file could not be written; `message` has the system's cause.
        WriteFailed,
        // A text too long for the 10000-byte buffer of the reader: nothing was written.
        Unstorable,
        // Another program wrote the file after it was read here: nothing was written, so as not to
        // undo that.
        ChangedElsewhere,
        // No template is open, so there is no reporting file of one to write: nothing was written.
        NoTemplate,
    };

    What what = What::Done;
    // The number of the message when it has one (61216, 61203, 61214), else 0.
    int messageId = 0;
    // The file concerned.
    std::string path;
    // The text for the user, UTF-8; empty when the result has nothing to tell.
    std::string message;

    bool ok() const { return what == What::Done; }
    explicit operator bool() const { return ok(); }

    static ReportingResult done() { return {}; }
    static ReportingResult failure(What what, std::string path, std::string message,
                                   int messageId = 0) {
        ReportingResult result;
        result.what = what;
        result.messageId = messageId;
        result.path = std::move(path);
        result.message = std::move(message);
        return result;
    }
};

} // namespace vsolo::reporting
