#include "core/base/fileerrortext.h"

#include "core/base/placeholders.h"
#include "core/base/usertext.h"

#include <cerrno>
#include <cstring>

namespace vsolo {

namespace {

// %1 is the path throughout, %2 what else the text names.
constexpr const char* kIsFolderText = VSOLO_TR("Cannot read file %1 it is a folder, not a file.");
constexpr const char* kCannotReadText =
    VSOLO_TR("a)  Cannot read file %1 the file exists, but cannot be read.\nb)  The network "
             "server may be down.");
constexpr const char* kNotFoundText =
    VSOLO_TR("Cannot find %1 the file was either renamed, moved to another directory, or deleted.");
constexpr const char* kPathNotFoundText =
    VSOLO_TR("Cannot find %1 the directory was either renamed, moved, or deleted.");
constexpr const char* kCannotSaveText =
    VSOLO_TR("a)  Cannot save file %1 the file exists, but cannot be written to.\nb)  The network "
             "server may be down.");
constexpr const char* kLockedText = VSOLO_TR("A needed file is locked by another process");
constexpr const char* kBadNetPathText = VSOLO_TR(
    "Cannot open, retrieve, or save %1 the directory specified on the network is not valid.");
// %1 the error number.
constexpr const char* kOtherErrorText = VSOLO_TR("An error has occurred.  Error#%1");
constexpr const char* kDamagedText =
    VSOLO_TR("The file %1 is damaged and cannot be used: %2.\r\n\r\nNothing was changed in the "
             "file.");
constexpr const char* kUnstorableText =
    VSOLO_TR("Cannot write %1.\r\n\r\n%2\r\n\r\nNothing was written, so the file is as it was.");
// The conflict's first sentence, without and with the record that names it (%2); the rest follows.
constexpr const char* kConflictText =
    VSOLO_TR("Another program changed %1 after it was read here.");
constexpr const char* kConflictInRecordsText =
    VSOLO_TR("Another program changed %1 after it was read here, in records that were also "
             "changed or removed here. %2 is one of them.");
constexpr const char* kConflictOutcomeText =
    VSOLO_TR("\r\n\r\nNothing was saved, so that the other program's changes are not undone: "
             "the file keeps them, and the changes made here are not in it.\r\n\r\nTo go on, "
             "open the file again and make the changes once more.");
constexpr const char* kIncompleteRecordText = VSOLO_TR(
    "The transaction file %1 ends in a record that was cut short, most likely because the program "
    "or the computer stopped while it was being written. Every complete record was read; the "
    "incomplete last record was left out.\r\n\r\nBefore the file is next written, a copy of it "
    "as it is now is kept beside it, under its name followed by \".incomplete-tail\".");

std::string withPath(const char* pattern, const std::string& path) {
    return fillPlaceholders(tx(pattern), {path});
}

// Access denied to a file that was only to be read: it is a folder, or may not be read.
std::string readRefusedText(const FileError& error, const std::string& path) {
    return withPath(error.osError == EISDIR ? kIsFolderText : kCannotReadText, path);
}

} // namespace

std::optional<std::string> fileErrorText(const FileError& error, const std::string& path) {
    switch (error.code) {
    case FileError::kNotFound:
        return withPath(kNotFoundText, path);
    case FileError::kPathNotFound:
        return withPath(kPathNotFoundText, path);
    case FileError::kAccessDenied:
        if (error.reading) {
            return readRefusedText(error, path);
        }
        return withPath(kCannotSaveText, path);
    case FileError::kSharingViolation:
        return std::string(tx(kLockedText));
    case FileError::kBadNetPath:
        return withPath(kBadNetPathText, path);
    case FileError::kFileExists:
        return std::nullopt;
    default:
        return fillPlaceholders(tx(kOtherErrorText), {std::to_string(error.number())});
    }
}

std::string fileErrorCause(const FileError& error, const std::string& path) {
    if (const auto text = fileErrorText(error, path); text && error.code != 0) {
        return *text;
    }
    return std::strerror(error.osError);
}

std::string heldElsewhereText(const std::string& path) {
    const long long seconds = (lockWait().count() + 999) / 1000;
    return path + " is held by another program: waited " + std::to_string(seconds) +
           (seconds == 1 ? " second" : " seconds") +
           " for it and changed nothing. Try again once that program has let it go.";
}

bool fileErrorEndsProgram(const FileError& error) {
    return error.code == FileError::kAccessDenied || error.code == FileError::kSharingViolation ||
           error.code == FileError::kBadNetPath;
}

std::string damagedFileText(const std::string& path, const std::string& detail) {
    return fillPlaceholders(tx(kDamagedText), {path, detail});
}

std::string unstorableWriteText(const std::string& path, const std::string& problem) {
    return fillPlaceholders(tx(kUnstorableText), {path, problem});
}

std::string conflictText(const std::string& path, const std::string& what) {
    return fillPlaceholders(tx(what.empty() ? kConflictText : kConflictInRecordsText),
                            {path, what}) +
           tx(kConflictOutcomeText);
}

std::string incompleteRecordText(const std::string& transactionFile) {
    return withPath(kIncompleteRecordText, transactionFile);
}

std::vector<FileMessage> messagesOf(const FileResult& result) {
    std::vector<FileMessage> out;
    if (!result.incompleteRecordFile.empty()) {
        out.push_back(
            {FileMessage::Kind::Notice, incompleteRecordText(result.incompleteRecordFile)});
    }
    switch (result.what) {
    case FileResult::What::FileError:
        if (auto text = fileErrorText(result.error, result.path)) {
            out.push_back({FileMessage::Kind::Failure, std::move(*text)});
        }
        if (fileErrorEndsProgram(result.error)) {
            out.push_back({FileMessage::Kind::Closing, tx(kProgramWillClose)});
        }
        break;
    case FileResult::What::Damaged:
        out.push_back({FileMessage::Kind::Damage, damagedFileText(result.path, result.detail)});
        break;
    case FileResult::What::Unstorable:
        out.push_back(
            {FileMessage::Kind::Failure, unstorableWriteText(result.path, result.detail)});
        break;
    case FileResult::What::Conflict:
        out.push_back({FileMessage::Kind::Conflict, conflictText(result.path, result.detail)});
        break;
    case FileResult::What::Done:
    case FileResult::What::Absent:
        break;
    }
    return out;
}

} // namespace vsolo
