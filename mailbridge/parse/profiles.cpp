#include "mailbridge/parse/profiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vsolo::mail {

namespace {

// A profile file is a few lines; anything far larger is not one, and is not read into memory.
constexpr std::size_t kMaxBookBytes = std::size_t{1} << 20;

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalNoCase(text.substr(0, prefix.size()), prefix);
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == '\x7f';
}

std::string_view withoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    return path;
}

// "~" and "~/..." are the home folder; the result must be an absolute path without control
// characters, since a relative one would depend on the folder the program was started in.
std::optional<std::string> localPath(std::string_view text, std::string_view home) {
    std::string path;
    if (text == "~" || text.starts_with("~/")) {
        if (home.empty()) {
            return std::nullopt;
        }
        path = withoutTrailingSlashes(home);
        if (text.size() > 2) {
            if (path != "/") {
                path += '/';
            }
            path += text.substr(2);
        }
    } else {
        path = text;
    }
    if (!path.starts_with('/') || std::any_of(path.begin(), path.end(), isControl)) {
        return std::nullopt;
    }
    return path;
}

std::optional<std::uint16_t> portNumber(std::string_view text) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), isDigit)) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : text) {
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value < 1 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

bool isHostNameChar(char c) {
    return isDigit(c) || (lowerAscii(c) >= 'a' && lowerAscii(c) <= 'z') || c == '-' || c == '.' ||
           c == '_';
}

bool isIpv6Char(char c) {
    return isDigit(c) || (lowerAscii(c) >= 'a' && lowerAscii(c) <= 'f') || c == ':' || c == '.';
}

// "[USER@]HOST[:PORT]", an IPv6 host in brackets. The user is what precedes the last '@', so that
// a mail address can be a user name. Spaces and control characters are refused everywhere, for
// the user and host end up in protocol commands.
bool parseAuthority(std::string_view text, Endpoint& endpoint) {
    if (text.ends_with('/')) {
        text.remove_suffix(1);
    }
    if (const auto at = text.rfind('@'); at != std::string_view::npos) {
        endpoint.user = text.substr(0, at);
        text.remove_prefix(at + 1);
    }
    const auto badUserChar = [](char c) {
        return isControl(c) || c == ' ' || c == ':' || c == '/';
    };
    if (std::any_of(endpoint.user.begin(), endpoint.user.end(), badUserChar)) {
        return false;
    }
    std::string_view host;
    std::string_view rest;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            return false;
        }
        host = text.substr(1, close - 1);
        rest = text.substr(close + 1);
        if (host.find(':') == std::string_view::npos ||
            !std::all_of(host.begin(), host.end(), isIpv6Char)) {
            return false;
        }
    } else {
        const auto colon = text.find(':');
        host = text.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
        if (!std::all_of(host.begin(), host.end(), isHostNameChar)) {
            return false;
        }
    }
    if (host.empty()) {
        return false;
    }
    endpoint.host = host;
    if (rest.empty()) {
        return true;
    }
    if (rest.front() != ':') {
        return false;
    }
    const auto port = portNumber(rest.substr(1));
    if (!port) {
        return false;
    }
    endpoint.port = *port;
    return true;
}

struct SchemeForm {
    std::string_view prefix;
    Endpoint::Scheme scheme;
    bool store;
};

constexpr SchemeForm kForms[] = {
    {"maildir:", Endpoint::Scheme::Maildir, true}, {"imaps://", Endpoint::Scheme::Imaps, true},
    {"imap://", Endpoint::Scheme::Imap, true},     {"sendmail:", Endpoint::Scheme::Sendmail, false},
    {"smtps://", Endpoint::Scheme::Smtps, false},  {"smtp://", Endpoint::Scheme::Smtp, false},
};

std::string_view lineOf(std::string_view& text) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

} // namespace

std::optional<Endpoint> parseEndpoint(std::string_view text, bool isStore, std::string_view home) {
    for (const SchemeForm& form : kForms) {
        if (form.store != isStore || !startsWithNoCase(text, form.prefix)) {
            continue;
        }
        Endpoint endpoint;
        endpoint.scheme = form.scheme;
        const std::string_view rest = text.substr(form.prefix.size());
        if (!endpoint.isNetwork()) {
            auto path = localPath(rest, home);
            if (!path) {
                return std::nullopt;
            }
            endpoint.path = std::move(*path);
            return endpoint;
        }
        if (!parseAuthority(rest, endpoint)) {
            return std::nullopt;
        }
        return endpoint;
    }
    return std::nullopt;
}

namespace {

// A value of the file and the line it stands on.
struct Value {
    std::string text;
    int line = 0;
};

// One section of a profile file with the values it gives; a key given twice is malformed.
struct Section {
    std::string name;
    int line = 0;
    bool general = false;
    std::optional<Value> store;
    std::optional<Value> transport;
    std::optional<Value> caFile;
    std::optional<Value> defaultName;

    std::optional<Value>* slotFor(std::string_view key) {
        if (general) {
            return equalNoCase(key, "Default") ? &defaultName : nullptr;
        }
        if (equalNoCase(key, "Store")) {
            return &store;
        }
        if (equalNoCase(key, "Transport")) {
            return &transport;
        }
        return equalNoCase(key, "CAFile") ? &caFile : nullptr;
    }
};

// What is wrong with a section name; nullopt for a good one.
std::optional<std::string> sectionNameFault(std::string_view name,
                                            const std::vector<Section>& sections) {
    if (name.empty()) {
        return "a section without a name";
    }
    if (std::any_of(name.begin(), name.end(), isControl)) {
        return "a section name with a control character";
    }
    if (std::any_of(sections.begin(), sections.end(),
                    [&](const Section& s) { return equalNoCase(s.name, name); })) {
        return "the section [" + std::string(name) + "] is given twice";
    }
    return std::nullopt;
}

// The sections of an INI text: "[NAME]" lines and "KEY=VALUE" lines below them; blank lines
// and those starting with ';' or '#' are comments. Keys are known ones only, so that a misspelt
// key is reported instead of silently falling back to a default.
std::optional<std::vector<Section>> readSections(std::string_view text, BookProblem& problem) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3); // the byte order mark some editors write
    }
    std::vector<Section> sections;
    int number = 0;
    const auto fault = [&](std::string what) {
        problem = {number, std::move(what)};
        return std::nullopt;
    };
    while (!text.empty()) {
        ++number;
        const std::string_view line = trimmed(lineOf(text));
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const std::string_view name = trimmed(line.substr(1, line.size() - 1));
            if (!name.ends_with(']')) {
                return fault("a section name without its closing ]");
            }
            const std::string_view inner = trimmed(name.substr(0, name.size() - 1));
            if (auto what = sectionNameFault(inner, sections)) {
                return fault(std::move(*what));
            }
            Section section;
            section.name = inner;
            section.line = number;
            section.general = equalNoCase(inner, "General");
            sections.push_back(std::move(section));
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            return fault("a line that is neither [SECTION] nor KEY=VALUE");
        }
        if (sections.empty()) {
            return fault("a value before the first [SECTION]");
        }
        const std::string key(trimmed(line.substr(0, equals)));
        std::optional<Value>* slot = sections.back().slotFor(key);
        if (slot == nullptr) {
            return fault("the key " + key + " is not known in [" + sections.back().name + "]");
        }
        if (slot->has_value()) {
            return fault(key + " is given twice in [" + sections.back().name + "]");
        }
        *slot = Value{std::string(trimmed(line.substr(equals + 1))), number};
    }
    return sections;
}

std::optional<MailProfile> profileOf(const Section& section, std::string_view home,
                                     BookProblem& problem) {
    const auto fault = [&](int line, std::string what) {
        problem = {line, std::move(what)};
        return std::nullopt;
    };
    if (!section.store || !section.transport) {
        return fault(section.line, "the profile [" + section.name + "] has no " +
                                       (section.store ? "Transport" : "Store"));
    }
    auto store = parseEndpoint(section.store->text, true, home);
    if (!store) {
        return fault(section.store->line,
                     "Store is none of maildir:PATH, imap://HOST and imaps://HOST");
    }
    auto transport = parseEndpoint(section.transport->text, false, home);
    if (!transport) {
        return fault(section.transport->line,
                     "Transport is none of sendmail:PATH, smtp://HOST and smtps://HOST");
    }
    MailProfile profile{section.name, std::move(*store), std::move(*transport), {}};
    if (section.caFile && !section.caFile->text.empty()) {
        auto caFile = localPath(section.caFile->text, home);
        if (!caFile) {
            return fault(section.caFile->line, "CAFile is not an absolute path");
        }
        profile.caFile = std::move(*caFile);
    }
    return profile;
}

} // namespace

MailProfile builtInProfile(std::string_view home) {
    const std::string folder(withoutTrailingSlashes(home));
    MailProfile profile;
    profile.store.scheme = Endpoint::Scheme::Maildir;
    profile.store.path = (folder == "/" ? "" : folder) + "/Maildir";
    profile.transport.scheme = Endpoint::Scheme::Sendmail;
    profile.transport.path = "/usr/sbin/sendmail";
    return profile;
}

ProfileBook::Status ProfileBook::load(const std::string& path, std::string_view home) {
    parse("", home);
    m_othersCanWrite = false;
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return Status::Missing;
        }
        m_problem = {0, std::strerror(errno)};
        return Status::Unreadable;
    }
    // Whoever may change the file decides where mail and the password go.
    struct stat st {};
    m_othersCanWrite = ::fstat(::fileno(file.get()), &st) == 0 &&
                       ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 || st.st_uid != ::geteuid());
    std::string text;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        text.append(chunk, got);
        if (text.size() > kMaxBookBytes) {
            m_problem = {0, "it is larger than 1 MiB"};
            return Status::Unreadable;
        }
    }
    if (std::ferror(file.get()) != 0) {
        m_problem = {0, std::strerror(errno)}; // a folder, or a read that failed
        return Status::Unreadable;
    }
    return parse(text, home) ? Status::Read : Status::Unreadable;
}

bool ProfileBook::parse(std::string_view text, std::string_view home) {
    m_profiles.clear();
    m_default.clear();
    m_problem = {};
    m_home = home;
    const auto sections = readSections(text, m_problem);
    if (!sections) {
        return false;
    }
    std::vector<MailProfile> profiles;
    std::optional<Value> defaultName;
    for (const Section& section : *sections) {
        if (section.general) {
            defaultName = section.defaultName;
            continue;
        }
        auto profile = profileOf(section, home, m_problem);
        if (!profile) {
            return false;
        }
        profiles.push_back(std::move(*profile));
    }
    // A default that names no profile would fail every logon without a name; it is reported
    // as a damaged file instead.
    if (defaultName && !defaultName->text.empty() &&
        std::none_of(profiles.begin(), profiles.end(), [&](const MailProfile& p) {
            return equalNoCase(p.name, defaultName->text);
        })) {
        m_problem = {defaultName->line, "Default names no profile of the file"};
        return false;
    }
    m_profiles = std::move(profiles);
    m_default = defaultName ? std::move(defaultName->text) : std::string();
    return true;
}

std::optional<MailProfile> ProfileBook::find(std::string_view name) const {
    if (name.empty()) {
        if (m_default.empty()) {
            return builtInProfile(m_home);
        }
        name = m_default;
    }
    for (const MailProfile& profile : m_profiles) {
        if (equalNoCase(profile.name, name)) {
            return profile;
        }
    }
    return std::nullopt;
}

std::string unusableBookText(const std::string& path, const BookProblem& problem) {
    std::string where = "The mail profile file " + path + " cannot be used: ";
    if (problem.line > 0) {
        where += "line " + std::to_string(problem.line) + ": ";
    }
    return where + problem.what + ". Mail cannot be used until the file is corrected.";
}

std::string writableBookText(const std::string& path) {
    return "The mail profile file " + path +
           " can be changed by other users, who could send your mail and your password "
           "elsewhere. It is used all the same; make it writable by you alone (chmod go-w).";
}

std::string profileBookPath(const char* xdgConfigHome, std::string_view home) {
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
    std::string folder;
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        folder = withoutTrailingSlashes(xdgConfigHome);
    } else {
        folder = withoutTrailingSlashes(home);
        folder += folder == "/" ? ".config" : "/.config";
    }
    if (folder != "/") {
        folder += '/';
    }
    return folder + "Orvane Systems/Mail Profiles.ini";
}

bool isLoopbackHost(std::string_view host) {
    if (equalNoCase(host, "localhost") || host == "::1" || host == "[::1]") {
        return true;
    }
    // Only 127.x.y.z in plain decimal: with leading zeros, resolvers may read an octet as octal,
    // and a text that is no address may be looked up by name and lead anywhere.
    if (!host.starts_with("127.")) {
        return false;
    }
    int octets = 0;
    while (!host.empty()) {
        const auto dot = host.find('.');
        const std::string_view octet = host.substr(0, dot);
        host.remove_prefix(dot == std::string_view::npos ? host.size() : dot + 1);
        if (octet.empty() || octet.size() > 3 ||
            !std::all_of(octet.begin(), octet.end(), isDigit) ||
            (octet.size() > 1 && octet.front() == '0') || (octet.size() == 3 && octet > "255")) {
            return false;
        }
        ++octets;
        if (dot != std::string_view::npos && host.empty()) {
            return false; // a trailing dot
        }
    }
    return octets == 4;
}

bool mayAuthenticate(const Endpoint& endpoint, bool tlsActive) {
    return !endpoint.isNetwork() || tlsActive || isLoopbackHost(endpoint.host);
}

} // namespace vsolo::mail
