#pragma once

#include "core/base/usertext.h"
#include "reporting/data/reportingdata.h"
#include "reporting/data/reportingresult.h"

#include <optional>
#include <string>
#include <vector>

namespace vsolo::reporting {

// Told when Save is asked for while no template is open.
inline constexpr const char* kNoTemplateToSaveText =
    VSOLO_TR("No template is open, so there is no reporting file to save.  Open a template first.");
// Asked before a save replaces a reporting file that could not be read; %1 stands for its path.
inline constexpr const char* kOverwriteQuestionText =
    VSOLO_TR("The reporting file %1 could not be read when it was opened, so its expenses, rates "
             "and clients are not in the lists.  Saving replaces it with the lists as they are "
             "now.\r\n\r\nReplace it?");

// The reporting document's new, open and save without windows. It shows nothing: each step
// returns the messages the window is to show, in order, and the window refills its lists.
class ReportingDocument {
public:
    explicit ReportingDocument(ReportingData& data) : m_data(data) {}

    // The tracker's "TemplateLocation" as read (nullopt when absent: "Untitled.tpl" is taken;
    // only its first 254 bytes count). Clears the data; when the location has a folder, reads the
    // template and, when that succeeded, the reporting file (that it cannot be opened is not
    // told; that it is damaged is, and so are texts too long to be saved again) and the
    // transactions. Sets path and title either way.
    // With `transactionsLater` (here and in openDocument) the transactions are not read: they are
    // pending until takeInTransactions(), and no report may be made before it.
    std::vector<ReportingResult> newDocument(const std::optional<std::string>& templateLocation,
                                             bool transactionsLater = false);

    struct OpenOutcome {
        enum class Kind {
            // The chosen file does not exist: the document is left as it was; show `messages`
            // (61216 with the path).
            Missing,
            // The template could not be read: the data is empty; show `messages`.
            TemplateFailed,
            // Opened: show `messages` (61214, a damaged reporting file or its texts that will not
            // fit, the transactions' messages), then refill the lists and the tree and select the
            // first root item.
            Opened,
        };
        Kind kind = Kind::Opened;
        std::vector<ReportingResult> messages;
    };
    OpenOutcome openDocument(const std::string& templatePath, bool transactionsLater = false);
    // Reads the transactions a new or open left pending; returns their messages (none when
    // nothing was pending).
    std::vector<ReportingResult> takeInTransactions();
    bool transactionsPending() const { return m_transactionsPending; }

    // True when the reporting file of this document was there but damaged or unreadable when it
    // was read, and has not been written since: the window asks overwriteQuestion() before
    // save().
    bool saveNeedsConfirmation() const { return m_damagedFileKept; }
    std::string overwriteQuestion() const;
    // True once a template has been read: only then do the lists belong to a reporting file.
    bool hasTemplate() const { return m_templateRead; }
    // Writes the reporting file only; on success clears the modified flag and the damaged state.
    // Without a template nothing is written (NoTemplate): the empty lists would replace whatever
    // file has the document's path.
    ReportingResult save();

    // The reporting file's path (folder + base name + ".vsr") and the title (the base name).
    const std::string& path() const { return m_path; }
    const std::string& title() const { return m_title; }
    bool isModified() const { return m_modified; }
    void setModified(bool modified = true) { m_modified = modified; }

    ReportingData& data() { return m_data; }
    const ReportingData& data() const { return m_data; }

private:
    void readReportingAndTransactions(std::vector<ReportingResult>& messages, bool tellMissing,
                                      bool transactionsLater);

    ReportingData& m_data;
    std::string m_path;
    std::string m_title;
    bool m_modified = false;
    bool m_damagedFileKept = false;
    bool m_templateRead = false;
    bool m_transactionsPending = false;
};

} // namespace vsolo::reporting
