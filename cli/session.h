#pragma once

// The template a command works on, with what the file layer has for the user going to standard
// error.

#include "core/base/fileresult.h"
#include "core/model/templatefile.h"
#include "core/settings.h"

#include <string>
#include <string_view>

namespace vsolo {

// A message for the user on standard error, one line: the line breaks of a message box are left
// out.
void tellUser(std::string_view text);

// The tracker's settings as it last wrote them, read once from its settings file; a command
// never writes them (every write is refused).
const Settings& trackerSettings();

class Session {
public:
    // A session that lives until the process ends, for the commands that read a whole transaction
    // file and end right after: the system takes the memory back at once, where freeing a
    // million transactions one by one would take longer than the command itself.
    static Session& untilExit();

    // Loads the template; false (after the message) when it is missing or damaged.
    bool loadTemplate(const std::string& path);
    // Loads the template and then its transactions; false (after the message) when either fails.
    bool loadWithTransactions(const std::string& path);
    // Tells the user what the result has for them and remembers a failure; gives whether the
    // operation was done.
    bool told(const FileResult& result);
    // The exit code for the last failure: kExitDamaged for a damaged file, else kExitError.
    int failureExit() const;
    TemplateFile& file() { return m_file; }
    // Both level lists by name, as the tracker lists them once it has opened a template.
    void listItemsByName();

private:
    TemplateFile m_file;
    FileResult::What m_lastFailure = FileResult::What::Done;
};

} // namespace vsolo
