#pragma once

#include "core/base/fileio.h"

#include <string>
#include <utility>

namespace vsolo {

// What a file operation came to. The operation itself tells nobody: a failure names the file it
// concerns with the system's error or what is wrong with the file, and the caller decides what
// the user sees.
struct FileResult {
    enum class What {
        Done,
        // Nothing there to read or write (no such file or record, no transactions held); not a
        // failure anyone is told about.
        Absent,
        // The system refused: `error`.
        FileError,
        // The file is there but cannot be read as what it should be: `detail` says why, and
        // nothing was changed in it.
        Damaged,
        // A text that the file's layout cannot hold: `detail` says which and why; nothing was
        // written.
        Unstorable,
        // Another program changed the file since it was read, where this program changed it too
        // (`detail` may name what): nothing was written, and the other program's change stands.
        Conflict,
    };

    What what = What::Done;
    FileError error;
    std::string path;
    std::string detail;
    // A transaction file read up to a record cut short, that the user is still to be told about;
    // empty when there is nothing to tell. It goes with any outcome and is told before a failure.
    std::string incompleteRecordFile;

    static FileResult done() { return {}; }
    static FileResult absent() { return withWhat(What::Absent, {}, {}); }
    static FileResult fileError(const vsolo::FileError& error, std::string path,
                                std::string detail = {}) {
        FileResult result = withWhat(What::FileError, std::move(path), std::move(detail));
        result.error = error;
        return result;
    }
    static FileResult damaged(std::string path, std::string detail) {
        return withWhat(What::Damaged, std::move(path), std::move(detail));
    }
    static FileResult unstorable(std::string path, std::string detail) {
        return withWhat(What::Unstorable, std::move(path), std::move(detail));
    }
    static FileResult conflict(std::string path, std::string detail = {}) {
        return withWhat(What::Conflict, std::move(path), std::move(detail));
    }

    bool ok() const { return what == What::Done; }
    explicit operator bool() const { return ok(); }
    // A failure the user is to be told about (Absent is none).
    bool failed() const { return what != What::Done && what != What::Absent; }

private:
    static FileResult withWhat(What what, std::string path, std::string detail) {
        FileResult result;
        result.what = what;
        result.path = std::move(path);
        result.detail = std::move(detail);
        return result;
    }
};

} // namespace vsolo
