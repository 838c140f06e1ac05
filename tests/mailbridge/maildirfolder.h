#pragma once

#include "tests/support/tempdir.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace vsolo::testing {

// An executable shell script, the stand-in for a program the mail layer starts.
inline void writeScript(const std::string& path, const std::string& body) {
    writeBytes(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

// A temporary folder for one test, with a Maildir (new/, cur/, tmp/) in its "Maildir"
// subfolder; everything is removed afterwards.
class MaildirFolder {
public:
    MaildirFolder() {
        for (const char* sub : {"new", "cur", "tmp"})
            std::filesystem::create_directories(maildir() / sub);
    }

    // The temporary folder itself, for files beside the Maildir.
    std::filesystem::path root() const { return m_dir.path(); }
    std::filesystem::path maildir() const { return root() / "Maildir"; }

    // Writes a message file into new/ or cur/ as a delivery would leave it.
    std::filesystem::path put(std::string_view sub, std::string_view name,
                              std::string_view bytes) const {
        const auto path = maildir() / sub / name;
        write(path, bytes);
        return path;
    }

    // The file names of new/ or cur/, sorted.
    std::vector<std::string> names(std::string_view sub) const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(maildir() / sub))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    static void write(const std::filesystem::path& path, std::string_view bytes) {
        writeBytes(path.string(), bytes);
    }
    static std::string read(const std::filesystem::path& path) { return readBytes(path.string()); }

private:
    TempDir m_dir;
};

// A one-part plain-text message as a mail system stores it, its lines ended by `eol`; `fields`
// are the further header fields.
inline std::string textMessage(std::string_view eol, std::string_view from, std::string_view to,
                               std::string_view type, std::string_view subject,
                               const std::vector<std::string_view>& fields, std::string_view body) {
    std::string text;
    const auto field = [&](std::string_view name, std::string_view value) {
        text.append(name).append(value).append(eol);
    };
    field("From: ", from);
    field("To: ", to);
    field("Subject: ", subject);
    if (!type.empty())
        field("X-Message-Type: ", type);
    for (const std::string_view other : fields)
        field(other, "");
    return text.append(eol).append(body);
}

// A plain one-part message with LF line ends, written out as a mail system stores it.
inline std::string plainMessage(std::string_view type, std::string_view subject,
                                std::string_view body) {
    return textMessage("\n", "Ann Bee <ann@example.org>", "desk@example.org", type, subject,
                       {"Content-Type: text/plain; charset=us-ascii"}, body);
}

} // namespace vsolo::testing
