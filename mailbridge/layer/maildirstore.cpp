#include "mailbridge/layer/localservices.h"
#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/mimetext.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <tuple>
#include <vmime/vmime.hpp>

namespace vsolo::mail {
namespace {

namespace fs = std::filesystem;

// One message file as a listing sees it.
struct Entry {
    fs::path path;
    std::string unique; // the file name before ':'
    std::string info;   // after ':', "" when none
};

std::string uniqueOf(const std::string& fileName) {
    return fileName.substr(0, fileName.find(':'));
}

std::string infoOf(const std::string& fileName) {
    const auto colon = fileName.find(':');
    return colon == std::string::npos ? std::string() : fileName.substr(colon + 1);
}

// The delivery time a Maildir file name starts with: its leading decimal seconds.
std::optional<std::time_t> deliveryTime(const std::string& fileName) {
    std::time_t seconds = 0;
    std::size_t digits = 0;
    for (; digits < fileName.size() && fileName[digits] >= '0' && fileName[digits] <= '9';
         ++digits) {
        if (digits == 15)
            return std::nullopt; // beyond any time stamp a delivery carries
        seconds = seconds * 10 + (fileName[digits] - '0');
    }
    if (digits == 0)
        return std::nullopt;
    return seconds;
}

// Flags of the "2," form; nullopt for another form of info, which is left alone.
std::optional<std::string> flagsOf(const std::string& info) {
    if (info.empty())
        return std::string();
    if (info.rfind("2,", 0) != 0)
        return std::nullopt;
    return info.substr(2);
}

bool isUnread(const Entry& entry) {
    const auto flags = flagsOf(entry.info);
    return !flags || flags->find('S') == std::string::npos;
}

std::time_t receivedTime(const Entry& entry) {
    if (const auto delivered = deliveryTime(entry.path.filename().string()))
        return *delivered;
    std::error_code error;
    const auto written = fs::last_write_time(entry.path, error);
    if (error)
        return 0;
    return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
}

// Reads the file up to its first empty line (the end of the header), and no further; a header
// that runs on past kMaxMessageSize is cut there.
bool readHeader(const fs::path& path, std::string& header) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    header.clear();
    char buffer[4096];
    while (header.size() < kMaxMessageSize && (in.read(buffer, sizeof buffer) || in.gcount() > 0)) {
        const std::size_t searchFrom = header.size() < 3 ? 0 : header.size() - 3;
        header.append(buffer, static_cast<std::size_t>(in.gcount()));
        const auto lf = header.find("\n\n", searchFrom);
        const auto crlf = header.find("\r\n\r\n", searchFrom);
        if (lf != std::string::npos || crlf != std::string::npos) {
            // Keep the line break that ends the last field.
            header.resize(lf < crlf ? lf + 1 : crlf + 2);
            return true;
        }
    }
    if (header.size() > kMaxMessageSize)
        header.resize(kMaxMessageSize);
    return !in.bad();
}

std::string messageTypeOf(const fs::path& path) {
    std::string text;
    if (!readHeader(path, text) || nestsTooDeep(text))
        return {};
    try {
        vmime::header header;
        header.parse(text);
        return fieldText(header, "X-Message-Type");
    } catch (...) {
        return {};
    }
}

// Reads a whole file of at most kMaxMessageSize bytes; kInvalidMessage for a bigger one, which
// is found out without reading it whole, and kFailure for one that cannot be read.
unsigned long readMessageFile(const fs::path& path, std::string& raw) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error)
        return code::kFailure;
    if (size > kMaxMessageSize)
        return code::kInvalidMessage;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return code::kFailure;
    raw.assign(static_cast<std::size_t>(size), '\0');
    in.read(raw.data(), static_cast<std::streamsize>(raw.size()));
    raw.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return code::kFailure;
    // A file that grew since its size was taken is refused as too big rather than cut.
    if (raw.size() == size && in.peek() != std::char_traits<char>::eof())
        return code::kInvalidMessage;
    return code::kSuccess;
}

class MaildirStore : public MailStore {
public:
    explicit MaildirStore(std::string path) : m_root(std::move(path)) {}

    unsigned long open(const std::string&) override {
        std::error_code error;
        for (const char* sub : {"new", "cur", "tmp"}) {
            if (!fs::is_directory(m_root / sub, error))
                return code::kFailure;
        }
        m_open = true;
        return code::kSuccess;
    }

    unsigned long findByType(const std::string& type, std::vector<std::string>& ids) override {
        ids.clear();
        if (!m_open)
            return code::kInvalidSession;
        std::vector<Entry> entries;
        if (!list(entries))
            return code::kFailure;
        struct Found {
            std::time_t received;
            std::string unique;
            std::string fileName;
        };
        std::vector<Found> found;
        for (const auto& entry : entries) {
            std::error_code error;
            const auto size = fs::file_size(entry.path, error);
            if (error || size > kMaxMessageSize)
                continue;
            if (messageTypeOf(entry.path) != type)
                continue;
            found.push_back({receivedTime(entry), entry.unique, entry.path.filename().string()});
        }
        std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
            return std::tie(a.received, a.unique, a.fileName) <
                   std::tie(b.received, b.unique, b.fileName);
        });
        for (auto& item : found)
            ids.push_back(std::move(item.unique));
        return code::kSuccess;
    }

    unsigned long read(const std::string& id, bool peek, ReceivedMail& out) override {
        if (!m_open)
            return code::kInvalidSession;
        const auto entry = find(id);
        if (!entry)
            return code::kFailure;
        std::string raw;
        if (const auto result = readMessageFile(entry->path, raw); result != code::kSuccess)
            return result;
        if (!decodeMessage(raw, out))
            return code::kInvalidMessage;
        out.received = receivedTime(*entry);
        out.unread = isUnread(*entry);
        const auto flags = flagsOf(entry->info);
        if (peek || !out.unread || !flags)
            return code::kSuccess;
        return markSeen(*entry, *flags);
    }

    unsigned long readEnvelope(const std::string& id, ReceivedMail& out) override {
        if (!m_open)
            return code::kInvalidSession;
        const auto entry = find(id);
        if (!entry)
            return code::kFailure;
        std::string header;
        if (!readHeader(entry->path, header))
            return code::kFailure;
        if (!decodeEnvelope(header, out))
            return code::kInvalidMessage;
        out.received = receivedTime(*entry);
        out.unread = isUnread(*entry);
        return code::kSuccess;
    }

    unsigned long remove(const std::string& id) override {
        if (!m_open)
            return code::kInvalidSession;
        const auto entry = find(id);
        if (!entry)
            return code::kFailure;
        std::error_code error;
        return fs::remove(entry->path, error) ? code::kSuccess : code::kFailure;
    }

    void close() override { m_open = false; }

private:
    // The message files of new/ and cur/; names starting with '.' are not messages.
    bool list(std::vector<Entry>& entries) const {
        bool any = false;
        for (const char* sub : {"new", "cur"}) {
            std::error_code error;
            fs::directory_iterator it(m_root / sub, error);
            if (error)
                continue;
            any = true;
            for (const fs::directory_iterator end; it != end; it.increment(error)) {
                if (error)
                    break;
                const std::string name = it->path().filename().string();
                std::error_code typeError;
                if (name.empty() || name[0] == '.' || !it->is_regular_file(typeError))
                    continue;
                entries.push_back({it->path(), uniqueOf(name), infoOf(name)});
            }
        }
        return any;
    }

    // Looks the identifier up among the listed names, so that no identifier can name a file
    // outside the folder.
    std::optional<Entry> find(const std::string& id) const {
        if (id.empty())
            return std::nullopt;
        std::vector<Entry> entries;
        list(entries);
        for (auto& entry : entries) {
            if (entry.unique == id)
                return std::move(entry);
        }
        return std::nullopt;
    }

    unsigned long markSeen(const Entry& entry, std::string flags) const {
        flags += 'S';
        std::sort(flags.begin(), flags.end());
        const fs::path target = m_root / "cur" / (entry.unique + ":2," + flags);
        std::error_code error;
        fs::rename(entry.path, target, error);
        return error ? code::kFailure : code::kSuccess;
    }

    fs::path m_root;
    bool m_open = false;
};

} // namespace

std::unique_ptr<MailStore> makeMaildirStore(const std::string& path) {
    return std::make_unique<MaildirStore>(path);
}

} // namespace vsolo::mail
