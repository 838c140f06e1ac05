#include "core/model/recovery.h"

#include "core/base/datetext.h"
#include "core/base/faultinjection.h"
#include "core/base/placeholders.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <optional>

namespace vsolo {

namespace {

constexpr std::string_view kFirstLinePrefix = "Veltimo Solo recovery file, version ";
constexpr const char* kHexDigits = "0123456789ABCDEF";
constexpr int kAsideNames = 20;

// The keys of one record, in the order they are written.
constexpr std::array<std::string_view, 6> kRecordKeys = {"date",   "start",  "end",
                                                         "level1", "level2", "description"};

std::string escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\x";
                out += kHexDigits[byte >> 4];
                out += kHexDigits[byte & 0x0F];
            } else {
                out += c;
            }
        }
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            if (i + 2 >= text.size()) {
                return std::nullopt;
            }
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

bool allDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return !text.empty();
}

std::optional<std::int32_t> parseKey(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::size_t> parseCount(std::string_view text) {
    std::size_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (!allDigits(text) || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

// One record as its lines are read: which keys it has seen, and the values.
struct PendingRecord {
    std::array<bool, kRecordKeys.size()> seen{};
    TimeValue date, start, end;
    std::int32_t level1 = 0;
    std::int32_t level2 = 0;
    std::string description;

    std::optional<std::string_view> missingKey() const {
        for (std::size_t i = 0; i < kRecordKeys.size(); ++i) {
            if (!seen[i]) {
                return kRecordKeys[i];
            }
        }
        return std::nullopt;
    }
    Transaction transaction() const {
        return Transaction(date, start, end, level1, level2, description);
    }
};

// Takes one value of a record; false with the reason when the value is not valid.
bool takeValue(PendingRecord& r, std::size_t keyIndex, std::string_view value,
               std::string& problem) {
    switch (keyIndex) {
    case 0:
        if (const auto v = readFixedDate(value)) {
            r.date = *v;
            return true;
        }
        problem = "is not a date";
        return false;
    case 1:
    case 2:
        if (const auto v = readFixedTime(value)) {
            (keyIndex == 1 ? r.start : r.end) = *v;
            return true;
        }
        problem = "is not a time of day";
        return false;
    case 3:
    case 4:
        if (const auto v = parseKey(value)) {
            (keyIndex == 3 ? r.level1 : r.level2) = *v;
            return true;
        }
        problem = "is not an item number";
        return false;
    default:
        if (auto v = unescape(value)) {
            r.description = std::move(*v);
            return true;
        }
        problem = "holds a broken escape";
        return false;
    }
}

// A piece of the file quoted in a message: short and printable, whatever the file holds.
std::string shown(std::string_view text) {
    constexpr std::size_t kLimit = 24;
    std::string out;
    for (const char c : text.substr(0, kLimit)) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x20 || byte >= 0x7F ? '?' : c;
    }
    return text.size() > kLimit ? out + "..." : out;
}

std::string lineName(std::size_t index) {
    return "line " + std::to_string(index + 1);
}

class RecoveryParser {
public:
    explicit RecoveryParser(std::vector<Transaction>& out) : m_out(out) {}

    ParseResult parse(std::string_view text) {
        if (text.empty()) {
            return ParseResult::failure("it is empty");
        }
        const ParseResult first = firstLine(withoutReturn(text.substr(0, text.find('\n'))));
        if (!first.ok) {
            return first;
        }
        if (text.back() != '\n') {
            return ParseResult::failure("its last line is cut short");
        }
        std::size_t index = 0;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t newline = text.find('\n', pos);
            const std::string_view line = withoutReturn(text.substr(pos, newline - pos));
            pos = newline + 1;
            if (index > 0) {
                const ParseResult result = keyLine(line, index);
                if (!result.ok) {
                    return result;
                }
            }
            if (m_finished && pos < text.size()) {
                return ParseResult::failure("there is text after the record count");
            }
            ++index;
        }
        if (!m_finished) {
            return ParseResult::failure("the record count at its end is missing");
        }
        m_out = std::move(m_records);
        return {};
    }

private:
    // A file opened and saved by an editor of another system may have gained '\r'.
    static std::string_view withoutReturn(std::string_view line) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return line;
    }

    static ParseResult firstLine(std::string_view line) {
        if (line == kRecoveryFirstLine) {
            return {};
        }
        if (line.substr(0, kFirstLinePrefix.size()) == kFirstLinePrefix) {
            return ParseResult::failure("it was written by another version of the program (" +
                                        shown(line.substr(kFirstLinePrefix.size())) + ")");
        }
        return ParseResult::failure("it does not start as a recovery file does");
    }

    ParseResult keyLine(std::string_view line, std::size_t index) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return ParseResult::failure(lineName(index) + " is not of the form key=value");
        }
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "record") {
            return openRecord(value, index);
        }
        if (key == "records") {
            return closeFile(value, index);
        }
        for (std::size_t i = 0; i < kRecordKeys.size(); ++i) {
            if (key == kRecordKeys[i]) {
                return recordValue(i, value, index);
            }
        }
        return ParseResult::failure(lineName(index) + " has the unknown key \"" + shown(key) +
                                    "\"");
    }

    ParseResult finishRecord(std::size_t index) {
        if (!m_current) {
            return {};
        }
        if (const auto missing = m_current->missingKey()) {
            return ParseResult::failure("record " + std::to_string(m_records.size() + 1) +
                                        " has no " + std::string(*missing) + " (before " +
                                        lineName(index) + ")");
        }
        m_records.push_back(m_current->transaction());
        m_current.reset();
        return {};
    }

    ParseResult openRecord(std::string_view value, std::size_t index) {
        ParseResult finished = finishRecord(index);
        if (!finished.ok) {
            return finished;
        }
        const auto n = parseCount(value);
        if (!n || *n != m_records.size() + 1) {
            return ParseResult::failure(lineName(index) + " starts record \"" + shown(value) +
                                        "\" where record " + std::to_string(m_records.size() + 1) +
                                        " belongs");
        }
        m_current.emplace();
        return {};
    }

    ParseResult recordValue(std::size_t keyIndex, std::string_view value, std::size_t index) {
        if (!m_current) {
            return ParseResult::failure(lineName(index) + " comes before any record");
        }
        if (m_current->seen[keyIndex]) {
            return ParseResult::failure(lineName(index) + " gives " +
                                        std::string(kRecordKeys[keyIndex]) + " a second time");
        }
        std::string problem;
        if (!takeValue(*m_current, keyIndex, value, problem)) {
            return ParseResult::failure(lineName(index) + ": the " +
                                        std::string(kRecordKeys[keyIndex]) + " " + problem);
        }
        m_current->seen[keyIndex] = true;
        return {};
    }

    ParseResult closeFile(std::string_view value, std::size_t index) {
        ParseResult finished = finishRecord(index);
        if (!finished.ok) {
            return finished;
        }
        const auto n = parseCount(value);
        if (!n || *n != m_records.size()) {
            return ParseResult::failure("it counts " + shown(value) + " records but holds " +
                                        std::to_string(m_records.size()));
        }
        m_finished = true;
        return {};
    }

    std::vector<Transaction>& m_out;
    std::vector<Transaction> m_records;
    std::optional<PendingRecord> m_current;
    bool m_finished = false;
};

void appendLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key);
    out += '=';
    out.append(value);
    out += '\n';
}

// The transaction as it reads back from a record the layout's append would write: the same
// shortening and the same reading of the description.
std::optional<Transaction> asStored(TransactionLayout layout, const Transaction& t) {
    std::string bytes;
    if (layout == TransactionLayout::Version4) {
        bytes = transactionFileHeader();
        appendVersion4Record(bytes, t);
    } else {
        appendLegacyRecord(bytes, t);
    }
    TransactionReader reader(sourceFromBytes(bytes), layout);
    Transaction stored;
    if (!reader.next(stored)) {
        return std::nullopt;
    }
    return stored;
}

bool sameRecord(const Transaction& a, const Transaction& b) {
    return a.date() == b.date() && a.start() == b.start() && a.end() == b.end() &&
           a.level1Key() == b.level1Key() && a.level2Key() == b.level2Key() &&
           a.description() == b.description();
}

} // namespace

std::string serializeRecovery(const std::vector<Transaction>& records) {
    std::string out(kRecoveryFirstLine);
    out += '\n';
    std::size_t n = 0;
    for (const Transaction& t : records) {
        appendLine(out, "record", std::to_string(++n));
        appendLine(out, "date", fixedDateText(t.date()));
        appendLine(out, "start", fixedTimeText(t.start()));
        appendLine(out, "end", fixedTimeText(t.end()));
        appendLine(out, "level1", std::to_string(t.level1Key()));
        appendLine(out, "level2", std::to_string(t.level2Key()));
        appendLine(out, "description", escape(t.description()));
    }
    appendLine(out, "records", std::to_string(n));
    return out;
}

ParseResult parseRecovery(std::string_view text, std::vector<Transaction>& records) {
    records.clear();
    return RecoveryParser(records).parse(text);
}

FileResult readRecoveryFile(const std::string& path, std::vector<Transaction>& records) {
    records.clear();
    if (!fileExists(path)) {
        return FileResult::absent();
    }
    const auto unreadable = [&path](const FileError& error) {
        return FileResult::fileError(
            error, path, "error " + std::to_string(error.number()) + " while reading it");
    };
    FileError error;
    LockedFile file = LockedFile::open(path, LockedFile::Mode::Read, error);
    if (!file.isOpen()) {
        return unreadable(error);
    }
    if (file.size() > static_cast<std::int64_t>(kRecoveryFileSizeLimit)) {
        return FileResult::damaged(path, "it is far larger than a recovery file can be");
    }
    std::string text;
    if (!file.readAll(text, error)) {
        return unreadable(error);
    }
    const ParseResult parsed = parseRecovery(text, records);
    if (!parsed.ok) {
        return FileResult::damaged(path, parsed.detail);
    }
    return FileResult::done();
}

bool writeRecoveryFile(const std::string& path, const std::vector<Transaction>& records,
                       FileError& error) {
    return writeFileAtomically(path, serializeRecovery(records), error);
}

bool overwriteRecoveryFile(const std::string& path, const std::vector<Transaction>& records,
                           FileError& error) {
    LockedFile file = LockedFile::open(path, LockedFile::Mode::ReadWrite, error);
    return file.isOpen() && file.overwriteInPlace(serializeRecovery(records), error);
}

bool isOutOfSpace(const FileError& error) {
    return error.osError == ENOSPC || error.osError == EDQUOT;
}

bool setRecoveryFileAside(const std::string& path, std::string& keptAs, FileError& error) {
    for (int i = 1; i <= kAsideNames; ++i) {
        // Appended piece by piece: "-" put in front of a temporary trips GCC 12's -Wrestrict.
        std::string candidate = path + ".damaged";
        if (i > 1) {
            candidate += '-';
            candidate += std::to_string(i);
        }
        // A name that is taken is never replaced: it may be an earlier file set aside.
        if (fileExists(candidate)) {
            continue;
        }
        if (faults::rename(path.c_str(), candidate.c_str()) != 0) {
            error = FileError::fromErrno(errno, path);
            return false;
        }
        keptAs = candidate;
        return true;
    }
    return false;
}

bool transactionFileHolds(const std::string& path, TransactionLayout layout, const Transaction& t) {
    const std::optional<Transaction> wanted = asStored(layout, t);
    if (!wanted) {
        return false;
    }
    FileError error;
    LockedFile file = LockedFile::open(path, LockedFile::Mode::Read, error);
    if (!file.isOpen()) {
        return false;
    }
    TransactionReader reader(
        [&file, &error](char* buffer, std::size_t capacity) {
            return file.read(buffer, capacity, error);
        },
        layout);
    std::string date;
    appendShortDate(date, wanted->date());
    Transaction candidate;
    while (reader.nextOfDate(date, candidate)) {
        if (sameRecord(candidate, *wanted)) {
            return true;
        }
    }
    return false;
}

std::string recoveryQuestion(const Transaction& t, std::string_view level1Title,
                             std::string_view level1Name, std::string_view level2Title,
                             std::string_view level2Name) {
    return fillPlaceholders(tx(kRecoveryQuestionText),
                            {t.date().shortDate(), t.start().clockTimeNoPad(),
                             t.end().clockTimeNoPad(), level1Title, level1Name, level2Title,
                             level2Name});
}

} // namespace vsolo
