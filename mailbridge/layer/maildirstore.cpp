#include "mailbridge/layer/localservices.h"
#include "mailbridge/layer/maillayer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <tuple>
#include <unistd.h>

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

// A file opened for reading, closed when this goes.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const fs::path& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~ReadOnlyFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    std::optional<std::uint64_t> size() const {
        struct stat status {};
        if (::fstat(m_fd, &status) != 0)
            return std::nullopt;
        return static_cast<std::uint64_t>(status.st_size);
    }
    // Appends what one read gives, at most `count` bytes: the number appended, 0 at the end of
    // the file, -1 on failure.
    ssize_t append(std::string& out, std::size_t count) {
        const std::size_t before = out.size();
        out.resize(before + count);
        ssize_t got = 0;
        do {
            got = ::read(m_fd, out.data() + before, count);
        } while (got < 0 && errno == EINTR);
        out.resize(before + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        return got;
    }

private:
    int m_fd;
};

// Reads the file up to its first empty line (the end of the header), and no further; a header
// that runs on past kMaxMessageSize is cut there.
bool readHeader(const fs::path& path, std::string& header) {
    ReadOnlyFile file(path);
    if (!file.isOpen())
        return false;
    header.clear();
    while (header.size() < kMaxMessageSize) {
        const std::size_t searchFrom = header.size() < 3 ? 0 : header.size() - 3;
        const ssize_t got = file.append(header, 4096);
        if (got <= 0)
            return got == 0;
        const auto lf = header.find("\n\n", searchFrom);
        const auto crlf = header.find("\r\n\r\n", searchFrom);
        if (lf != std::string::npos || crlf != std::string::npos) {
            // Keep the line break that ends the last field.
            header.resize(lf < crlf ? lf + 1 : crlf + 2);
            return true;
        }
    }
    header.resize(kMaxMessageSize);
    return true;
}

std::string messageTypeOf(const fs::path& path) {
    std::string text;
    return readHeader(path, text) ? decodeMessageType(text) : std::string();
}

// Reads a whole file of at most kMaxMessageSize bytes; kInvalidMessage for a bigger one, which
// is found out without reading it whole, and kFailure for one that cannot be read.
unsigned long readMessageFile(const fs::path& path, std::string& raw) {
    ReadOnlyFile file(path);
    const auto size = file.isOpen() ? file.size() : std::nullopt;
    if (!size)
        return code::kFailure;
    if (*size > kMaxMessageSize)
        return code::kInvalidMessage;
    raw.clear();
    raw.reserve(static_cast<std::size_t>(*size) + 1);
    for (;;) {
        const ssize_t got = file.append(raw, static_cast<std::size_t>(*size) + 1 - raw.size());
        if (got <= 0)
            return got == 0 ? code::kSuccess : code::kFailure;
        // A file that grew since its size was taken is refused as too big rather than cut.
        if (raw.size() > *size)
            return code::kInvalidMessage;
    }
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
        if (!relist())
            return code::kFailure;
        struct Found {
            std::time_t received;
            std::string unique;
            std::string fileName;
        };
        std::vector<Found> found;
        // A message too big to read is listed by its type all the same, as the IMAP store lists
        // it, so that whoever reads it learns that it cannot be read.
        for (const auto& [unique, entry] : m_entries) {
            if (messageTypeOf(entry.path) != type)
                continue;
            found.push_back({receivedTime(entry), unique, entry.path.filename().string()});
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
        if (!fs::remove(entry->path, error))
            return code::kFailure;
        m_entries.erase(id);
        return code::kSuccess;
    }

    void close() override {
        m_open = false;
        m_entries.clear();
    }

private:
    // Lists the message files of new/ and cur/ by unique name; names starting with '.' are not
    // messages. False when neither folder can be read.
    bool relist() {
        m_entries.clear();
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
                m_entries.try_emplace(uniqueOf(name),
                                      Entry{it->path(), uniqueOf(name), infoOf(name)});
            }
        }
        return any;
    }

    // Looks the identifier up among the listed names, so that no identifier can name a file
    // outside the folder. The listing is kept between calls, so that reading and removing each
    // message of a search costs one look-up; it is taken anew when it does not know the
    // identifier or names a file that another program has moved or removed since.
    // The entry stays valid until the listing is taken again or the message removed.
    const Entry* find(const std::string& id) {
        if (id.empty())
            return nullptr;
        std::error_code error;
        if (const auto known = m_entries.find(id);
            known != m_entries.end() && fs::is_regular_file(known->second.path, error))
            return &known->second;
        relist();
        const auto found = m_entries.find(id);
        return found != m_entries.end() ? &found->second : nullptr;
    }

    // Takes the entry by value, since the listing's entry is replaced by the moved file's.
    unsigned long markSeen(Entry entry, std::string flags) {
        flags += 'S';
        std::sort(flags.begin(), flags.end());
        const std::string info = "2," + flags;
        const fs::path target = m_root / "cur" / (entry.unique + ":" + info);
        std::error_code error;
        fs::rename(entry.path, target, error);
        if (error)
            return code::kFailure;
        m_entries.insert_or_assign(entry.unique, Entry{target, entry.unique, info});
        return code::kSuccess;
    }

    fs::path m_root;
    bool m_open = false;
    std::map<std::string, Entry> m_entries;
};

} // namespace

std::unique_ptr<MailStore> makeMaildirStore(const std::string& path) {
    return std::make_unique<MaildirStore>(path);
}

} // namespace vsolo::mail
