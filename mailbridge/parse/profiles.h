#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo::mail {

// Where a profile reads mail from or sends it to, parsed from "maildir:PATH",
// "imap[s]://[USER@]HOST[:PORT]", "sendmail:PATH" or "smtp[s]://[USER@]HOST[:PORT]".
struct Endpoint {
    enum class Scheme { Maildir, Imap, Imaps, Sendmail, Smtp, Smtps };
    Scheme scheme = Scheme::Maildir;
    std::string path;       // maildir and sendmail: the path, a leading "~" made the home folder
    std::string user;       // the network schemes: may be empty
    std::string host;       // an IPv6 address without its brackets
    std::uint16_t port = 0; // 0: the scheme's usual port

    bool isNetwork() const { return scheme != Scheme::Maildir && scheme != Scheme::Sendmail; }
    // imaps and smtps: TLS from the first byte; imap and smtp use STARTTLS.
    bool isImplicitTls() const { return scheme == Scheme::Imaps || scheme == Scheme::Smtps; }
    bool operator==(const Endpoint&) const = default;
};

// Parses one Store (isStore) or Transport value; nullopt when it is none of the forms above.
std::optional<Endpoint> parseEndpoint(std::string_view text, bool isStore, std::string_view home);

struct MailProfile {
    std::string name;
    Endpoint store;
    Endpoint transport;
    std::string caFile; // certificates trusted besides the system's, "" for none
    bool operator==(const MailProfile&) const = default;
};

// The built-in profile used when there is no profile file or it names no default; its name is "".
MailProfile builtInProfile(std::string_view home);

// What is wrong with a profile file: the line at fault (1 for the first; 0 when the file as a
// whole is, for one that cannot be read) and what is wrong with it, "" for nothing.
struct BookProblem {
    int line = 0;
    std::string what;
    bool operator==(const BookProblem&) const = default;
};

// The profiles of a "Mail Profiles.ini" file ([General] Default=NAME, one section per profile).
class ProfileBook {
public:
    enum class Status { Read, Missing, Unreadable };

    // Reads the file; Missing when it does not exist, Unreadable when it exists but cannot be read
    // or a profile in it is malformed (a Store or Transport value of no known form, or missing).
    Status load(const std::string& path, std::string_view home);
    // Parses the text of such a file; false when it is malformed as above.
    bool parse(std::string_view text, std::string_view home);
    // Why the last load or parse failed.
    const BookProblem& problem() const { return m_problem; }
    // Whether the file of the last load may be written by anyone but the user: its group or
    // others, or another owner.
    bool othersCanWrite() const { return m_othersCanWrite; }

    // The profile a logon name means: an empty name means the default profile, and with no
    // file or no default the built-in one. Nullopt for a name the book lacks (names compare
    // without regard to case).
    std::optional<MailProfile> find(std::string_view name) const;

private:
    std::vector<MailProfile> m_profiles;
    std::string m_default;
    std::string m_home;
    BookProblem m_problem;
    bool m_othersCanWrite = false;
};

// The messages for the user about the profile file at the path: it cannot be used (the line
// and the problem), or others can write it.
std::string unusableBookText(const std::string& path, const BookProblem& problem);
std::string writableBookText(const std::string& path);

// "$XDG_CONFIG_HOME/Orvane Systems/Mail Profiles.ini", with "~/.config" when XDG_CONFIG_HOME is
// unset or empty; the two values are passed in so that tests need not touch the environment.
std::string profileBookPath(const char* xdgConfigHome, std::string_view home);

// Whether the address is a loopback one: "localhost", 127.0.0.0/8 or ::1.
bool isLoopbackHost(std::string_view host);

// Whether a password may be sent on a connection to the endpoint: always over TLS, in clear
// only to a loopback address.
bool mayAuthenticate(const Endpoint& endpoint, bool tlsActive);

} // namespace vsolo::mail
