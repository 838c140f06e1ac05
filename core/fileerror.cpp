#include "core/fileerror.h"

namespace vsolo {

void FileErrorReporter::report(const FileError& error, const std::string& path) const {
    present(FileResult::fileError(error, path));
}

void FileErrorReporter::reportDamaged(const std::string& path, const std::string& detail) const {
    present(FileResult::damaged(path, detail));
}

bool FileErrorReporter::present(const FileResult& result) const {
    return present(result, {});
}

bool FileErrorReporter::present(const FileResult& result, const std::string& failureText) const {
    for (const FileMessage& message : messagesOf(result)) {
        const bool failure = message.kind == FileMessage::Kind::Failure;
        const bool warning = failure || message.kind == FileMessage::Kind::Notice ||
                             message.kind == FileMessage::Kind::Conflict;
        m_prompter->show(failure && !failureText.empty() ? failureText : message.text,
                         warning ? Prompter::Icon::Warning : Prompter::Icon::Stop);
        if (message.kind == FileMessage::Kind::Closing && m_requestQuit) {
            m_requestQuit();
        }
    }
    return result.ok();
}

} // namespace vsolo
