#include "core/base/fileerror.h"

namespace vsolo {

std::optional<std::string> fileErrorText(const FileError& error, const std::string& path) {
    switch (error.code) {
    case FileError::kNotFound:
        return "Cannot find " + path + " " +
               "the file was either renamed, moved to another directory, or deleted.";
    case FileError::kPathNotFound:
        return "Cannot find " + path + " " + "the directory was either renamed, moved, or deleted.";
    case FileError::kAccessDenied:
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

bool fileErrorEndsProgram(const FileError& error) {
    return error.code == FileError::kAccessDenied || error.code == FileError::kSharingViolation ||
           error.code == FileError::kBadNetPath;
}

void FileErrorReporter::report(const FileError& error, const std::string& path) const {
    if (const auto text = fileErrorText(error, path)) {
        m_prompter->show(*text, Prompter::Icon::Warning);
    }
    if (fileErrorEndsProgram(error)) {
        m_prompter->show(kProgramWillClose, Prompter::Icon::Stop);
        if (m_requestQuit) {
            m_requestQuit();
        }
    }
}

std::string damagedFileText(const std::string& path, const std::string& detail) {
    return "The file " + path + " is damaged and cannot be used: " + detail +
           ".\r\n\r\nNothing was changed in the file.";
}

void FileErrorReporter::reportDamaged(const std::string& path, const std::string& detail) const {
    m_prompter->show(damagedFileText(path, detail), Prompter::Icon::Stop);
}

} // namespace vsolo
