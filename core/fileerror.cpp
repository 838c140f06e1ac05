#include "core/fileerror.h"

namespace vsolo {

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

void FileErrorReporter::reportDamaged(const std::string& path, const std::string& detail) const {
    m_prompter->show(damagedFileText(path, detail), Prompter::Icon::Stop);
}

bool FileErrorReporter::present(const FileResult& result) const {
    if (!result.incompleteRecordFile.empty()) {
        m_prompter->show(incompleteRecordText(result.incompleteRecordFile),
                         Prompter::Icon::Warning);
    }
    switch (result.what) {
    case FileResult::What::FileError:
        report(result.error, result.path);
        break;
    case FileResult::What::Damaged:
        reportDamaged(result.path, result.detail);
        break;
    case FileResult::What::Unstorable:
        m_prompter->show(unstorableWriteText(result.path, result.detail), Prompter::Icon::Warning);
        break;
    case FileResult::What::Done:
    case FileResult::What::Absent:
        break;
    }
    return result.ok();
}

} // namespace vsolo
