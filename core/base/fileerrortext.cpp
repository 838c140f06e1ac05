#include "core/base/fileerrortext.h"

#include <cerrno>
#include <cstring>

namespace vsolo {

namespace {

// Access denied to a file that was only to be read: it is a folder, or may not be read.
std::string readRefusedText(const FileError& error, const std::string& path) {
    if (error.osError == EISDIR) {
        return "Cannot read file " + path + " it is a folder, not a file.";
    }
    return "a)  Cannot read file " + path + " " + "the file exists, but cannot be read.\nb)  " +
           "The network server may be down.";
}

} // namespace

std::optional<std::string> fileErrorText(const FileError& error, const std::string& path) {
    switch (error.code) {
    case FileError::kNotFound:
        return "Cannot find " + path + " " +
               "the file was either renamed, moved to another directory, or deleted.";
    case FileError::kPathNotFound:
        return "Cannot find " + path + " " + "the directory was either renamed, moved, or deleted.";
    case FileError::kAccessDenied:
        if (error.reading) {
            return readRefusedText(error, path);
        }
        return "a)  Cannot save file " + path + " " +
               "the file exists, but cannot be written to.\nb)  " +
               "The network server may be down.";
    case FileError::kSharingViolation:
        return std::string("A needed file is locked by another process");
    case FileError::kBadNetPath:
        return "Cannot open, retrieve, or save " + path + " " +
               "the directory specified on the network is not valid.";
    case FileError::kFileExists:
        return std::nullopt;
    default:
        return "An error has occurred.  Error#" + std::to_string(error.number());
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
    return "The file " + path + " is damaged and cannot be used: " + detail +
           ".\r\n\r\nNothing was changed in the file.";
}

std::string unstorableWriteText(const std::string& path, const std::string& problem) {
    return "Cannot write " + path + ".\r\n\r\n" + problem +
           "\r\n\r\nNothing was written, so the file is as it was.";
}

std::string conflictText(const std::string& path, const std::string& what) {
    std::string text = "Another program changed " + path + " after it was read here";
    text += what.empty() ? std::string(".")
                         : ", in records that were also changed or removed here. " + what +
                               " is one of them.";
    return text + "\r\n\r\nNothing was saved, so that the other program's changes are not "
                  "undone: the file keeps them, and the changes made here are not in it.\r\n\r\n"
                  "To go on, open the file again and make the changes once more.";
}

std::string incompleteRecordText(const std::string& transactionFile) {
    return "The transaction file " + transactionFile +
           " ends in a record that was cut short, most likely because the program or the "
           "computer stopped while it was being written. Every complete record was read; the "
           "incomplete last record was left out.\r\n\r\nBefore the file is next written, a copy "
           "of it as it is now is kept beside it, under its name followed by "
           "\".incomplete-tail\".";
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
            out.push_back({FileMessage::Kind::Closing, kProgramWillClose});
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
