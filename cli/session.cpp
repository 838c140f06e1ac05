#include "cli/session.h"

#include "cli/command.h"
#include "core/base/fileerrortext.h"
#include "core/inisettingsstore.h"

#include <iostream>
#include <vector>

namespace vsolo {

void tellUser(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        line += text[i];
    }
    std::cerr << "vsolo-cli: " << line << '\n';
}

bool Session::told(const FileResult& result) {
    if (result.failed()) {
        m_lastFailure = result.what;
    }
    // A file another program holds is named. The notice that the program will close is the
    // tracker's: a command ends after any failure, with its exit code.
    const bool held = result.what == FileResult::What::FileError &&
                      result.error.code == FileError::kSharingViolation;
    for (const FileMessage& message : messagesOf(result)) {
        if (message.kind == FileMessage::Kind::Closing) {
            continue;
        }
        tellUser(held && message.kind == FileMessage::Kind::Failure ? heldElsewhereText(result.path)
                                                                    : message.text);
    }
    return result.ok();
}

bool Session::loadTemplate(const std::string& path) {
    m_file.setPath(path);
    return told(m_file.load(path));
}

bool Session::loadWithTransactions(const std::string& path) {
    return loadTemplate(path) && told(m_file.loadTransactions());
}

const Settings& trackerSettings() {
    static IniSettingsStore store(IniSettingsStore::trackerSettingsPath());
    static Settings settings = [] {
        Settings loaded(store);
        loaded.load();
        return loaded;
    }();
    return settings;
}

Session& Session::untilExit() {
    // Reachable from here to the end, so no leak checker counts them as lost.
    static auto* kept = new std::vector<Session*>;
    kept->push_back(new Session);
    return *kept->back();
}

void Session::listItemsByName() {
    m_file.level1().sortByName();
    m_file.level2().sortByName();
}

int Session::failureExit() const {
    return m_lastFailure == FileResult::What::Damaged ? kExitDamaged : kExitError;
}

} // namespace vsolo
