#include "reporting/data/reportingdocument.h"

#include "core/base/bytes.h"
#include "core/base/fileio.h"
#include "core/base/placeholders.h"
#include "reporting/data/reportingfile.h"

#include <iterator>

namespace vsolo::reporting {
namespace {

constexpr const char* kUntitledTemplate = "Untitled.tpl";
// The tracker's setting holds at most this many bytes.
constexpr std::size_t kTemplateLocationLimit = 254;

} // namespace

void ReportingDocument::readReportingAndTransactions(std::vector<ReportingResult>& messages,
                                                     bool tellMissing, bool transactionsLater) {
    ReportingResult file = m_data.readReportingFile();
    if (file.what == ReportingResult::What::CannotOpen && fileExists(file.path)) {
        // There but unreadable: its contents are unknown, so saving must not replace it unasked.
        m_damagedFileKept = true;
        file.message += std::string(file.message.empty() ? "" : "\r\n\r\n") + tx(kKeptFileNotice);
        messages.push_back(std::move(file));
    } else if (file.what == ReportingResult::What::CannotOpen) {
        if (tellMissing) {
            messages.push_back(ReportingResult::failure(
                file.what, file.path, tx(kReportingFileMissingText), kReportingFileMissingId));
        }
    } else if (!file) {
        m_damagedFileKept = true;
        messages.push_back(std::move(file));
    } else if (std::string notice = oversizedTextsNotice(m_data); !notice.empty()) {
        // Read as Windows-1252, a text may have grown past what the file takes in UTF-8.
        file.message = std::move(notice);
        messages.push_back(std::move(file));
    }
    m_transactionsPending = true;
    if (!transactionsLater) {
        std::vector<ReportingResult> told = takeInTransactions();
        messages.insert(messages.end(), std::make_move_iterator(told.begin()),
                        std::make_move_iterator(told.end()));
    }
}

std::vector<ReportingResult> ReportingDocument::takeInTransactions() {
    std::vector<ReportingResult> messages;
    if (!m_transactionsPending) {
        return messages;
    }
    m_transactionsPending = false;
    ReportingResult transactions = m_data.readTransactions();
    if (!transactions) {
        messages.push_back(std::move(transactions));
    }
    return messages;
}

std::vector<ReportingResult>
ReportingDocument::newDocument(const std::optional<std::string>& templateLocation,
                               bool transactionsLater) {
    std::vector<ReportingResult> messages;
    m_transactionsPending = false;
    m_data.clear();
    m_damagedFileKept = false;
    m_templateRead = false;
    m_modified = false;
    const std::string location =
        templateLocation ? std::string(cutUtf8(*templateLocation, kTemplateLocationLimit))
                         : std::string(kUntitledTemplate);
    m_data.setTemplatePath(location);
    if (!m_data.folder().empty()) {
        ReportingResult read = m_data.readTemplate();
        m_templateRead = read.ok();
        if (read) {
            readReportingAndTransactions(messages, false, transactionsLater);
        } else {
            messages.push_back(std::move(read));
        }
    }
    m_path = m_data.reportingPath();
    m_title = m_data.baseName();
    return messages;
}

ReportingDocument::OpenOutcome ReportingDocument::openDocument(const std::string& templatePath,
                                                               bool transactionsLater) {
    OpenOutcome outcome;
    // A path that names no file leaves the open document as it is: saving it under that name
    // would put a reporting file where a template is looked for.
    if (!fileExists(templatePath)) {
        outcome.kind = OpenOutcome::Kind::Missing;
        outcome.messages.push_back(
            ReportingResult::failure(ReportingResult::What::CannotOpen, templatePath,
                                     templateNotFoundText(templatePath), kTemplateNotFoundId));
        return outcome;
    }
    m_transactionsPending = false;
    m_data.clear();
    m_data.setTemplatePath(templatePath);
    m_damagedFileKept = false;
    m_modified = false;
    m_path = m_data.reportingPath();
    m_title = m_data.baseName();
    ReportingResult read = m_data.readTemplate();
    m_templateRead = read.ok();
    if (!read) {
        outcome.kind = OpenOutcome::Kind::TemplateFailed;
        outcome.messages.push_back(std::move(read));
        return outcome;
    }
    readReportingAndTransactions(outcome.messages, true, transactionsLater);
    outcome.kind = OpenOutcome::Kind::Opened;
    return outcome;
}

std::string ReportingDocument::overwriteQuestion() const {
    return fillPlaceholders(tx(kOverwriteQuestionText), {m_path});
}

ReportingResult ReportingDocument::save() {
    if (!m_templateRead) {
        return ReportingResult::failure(ReportingResult::What::NoTemplate, m_path,
                                        tx(kNoTemplateToSaveText));
    }
    ReportingResult result = m_data.writeReportingFile();
    if (result) {
        m_modified = false;
        m_damagedFileKept = false;
    }
    return result;
}

} // namespace vsolo::reporting
