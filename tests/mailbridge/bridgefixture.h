#pragma once

// A mail bridge session over a Maildir and a sendmail stand-in made by the test in a temporary
// folder, with the user-interface hook recording every box. Only the library's public header is
// used.

#include "mailbridge/osxmapi.h"
#include "maildirfolder.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace vsolo::testing {

struct Box {
    std::string caption;
    std::string text;
    bool operator==(const Box&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << box.caption << ": " << box.text;
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// A mail file as a mail program delivers it.
inline std::string mailText(const std::string& type, const std::string& subject,
                            const std::string& body) {
    return textMessage("\r\n", "Ann Archer <ann@example.org>", "Hub Desk <hub@example.org>", type,
                       subject,
                       {"MIME-Version: 1.0", "Content-Type: text/plain; charset=utf-8",
                        "Content-Transfer-Encoding: 8bit"},
                       body);
}

// The body of a time sheet: the resource name, SOH SOH, the count, SOH SOH, then six columns a
// record, spaces sent as 0x02.
inline std::string timeSheetBody(const std::string& resource, const std::string& count,
                                 const std::vector<std::vector<std::string>>& rows) {
    std::string body = resource + "\x01\x01" + count + "\x01\x01";
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            body += row[c] + (c + 1 == row.size() ? "\x01\x01" : "||");
        }
    }
    for (char& ch : body) {
        if (ch == ' ') {
            ch = '\x02';
        }
    }
    return body;
}

class BridgeTest : public ::testing::Test {
public:
    void SetUp() override {
        std::filesystem::create_directories(m_dir.file("home"));
        std::filesystem::create_directories(m_dir.file("config/Orvane Systems"));
        makeMaildir("Maildir");
        makeMaildir("Other");
        writeScript(m_dir.file("sendmail"), "printf '%s\\n' \"$@\" > '" + m_dir.file("sent.args") +
                                                "'\ncat > '" + m_dir.file("sent.mail") + "'\n");
        writeScript(m_dir.file("failing-sendmail"), "cat > /dev/null\nexit 1\n");
        writeProfiles("[General]\r\nDefault=Desk\r\n\r\n"
                      "[Desk]\r\nStore=maildir:" +
                      m_dir.file("Maildir") + "\r\nTransport=sendmail:" + m_dir.file("sendmail") +
                      "\r\n\r\n[Other]\r\nStore=maildir:" + m_dir.file("Other") +
                      "\r\nTransport=sendmail:" + m_dir.file("failing-sendmail") + "\r\n");
        const OSxUserInterface ui{this, &BridgeTest::recordBox, &BridgeTest::answerPassword};
        osxSetUserInterface(&ui);
        mapiSuppressMessages(0);
        ::tzset();
        ASSERT_EQ(InitMAPI(), 1);
    }

    void TearDown() override {
        DeInitMAPI();
        osxSetUserInterface(nullptr);
        mapiSuppressMessages(0);
    }

    std::string profilePath() const {
        return m_dir.file("config/Orvane Systems/Mail Profiles.ini");
    }
    void writeProfiles(const std::string& text) const {
        writeBytes(profilePath(), text);
        ::chmod(profilePath().c_str(), 0600);
    }

    void makeMaildir(const std::string& name) const {
        for (const char* sub : {"new", "cur", "tmp"}) {
            std::filesystem::create_directories(m_dir.file(name + "/" + sub));
        }
    }

    // Delivers a message into a Maildir folder ("new", or "cur" with flags); returns its
    // identifier, the file's unique name.
    std::string deliver(long seconds, const std::string& unique, const std::string& text,
                        const std::string& folder = "new", const std::string& maildir = "Maildir",
                        const std::string& flags = "") const {
        const std::string id = std::to_string(seconds) + "." + unique + ".testhost";
        const std::string name = folder == "cur" ? id + ":2," + flags : id;
        writeBytes(m_dir.file(maildir + "/" + folder + "/" + name), text);
        return id;
    }

    // The file names in a Maildir's new/ and cur/.
    std::vector<std::string> mailFiles(const std::string& maildir = "Maildir") const {
        std::vector<std::string> names;
        for (const char* sub : {"new", "cur"}) {
            for (const auto& e :
                 std::filesystem::directory_iterator(m_dir.file(maildir + "/" + sub))) {
                names.push_back(std::string(sub) + "/" + e.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static int recordBox(void* context, const char* text, const char* caption, unsigned) {
        static_cast<BridgeTest*>(context)->m_boxes.push_back({caption, text});
        return OSX_IDOK;
    }

    static int answerPassword(void* context, const char* profile, char* password, size_t size) {
        auto* self = static_cast<BridgeTest*>(context);
        self->m_asked.emplace_back(profile);
        if (self->m_passwords.empty()) {
            return 0;
        }
        const std::string given = self->m_passwords.front();
        self->m_passwords.pop_front();
        given.copy(password, size - 1);
        password[std::min(given.size(), size - 1)] = '\0';
        return 1;
    }

    TempDir m_dir;
    ScopedEnv m_home{"HOME", m_dir.file("home")};
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_dir.file("config")};
    ScopedEnv m_tz{"TZ", "UTC"};
    std::vector<Box> m_boxes;
    std::vector<std::string> m_asked;
    std::deque<std::string> m_passwords;
};

} // namespace vsolo::testing
