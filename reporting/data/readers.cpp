#include "reporting/data/readers.h"

#include "core/base/bytes.h"
#include "core/base/fileerrortext.h"
#include "core/base/placeholders.h"
#include "core/base/usertext.h"
#include "core/model/transactionformat.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace vsolo::reporting {
namespace {

// The marked texts come first: lupdate puts a text marked after a declaration of a std:: type
// into the context "std".

// %1 stands for the template's path, %2 for what is wrong with it, one of the texts below.
constexpr const char* kDamagedTemplate =
    VSOLO_TR("The template %1 is damaged and cannot be read: %2.");
constexpr const char* kHeaderCut = VSOLO_TR("the header runs past the end of the file");
constexpr const char* kItemCountTooHigh =
    VSOLO_TR("the item count (%1) claims more than the file holds");
constexpr const char* kItemCut = VSOLO_TR("an item runs past the end of the file");
constexpr const char* kTextTooLong = VSOLO_TR("the text at byte %1 is longer than %2 bytes");
constexpr const char* kTextCut = VSOLO_TR("the text at byte %1 runs past the end of the file");
// What is wrong with a transaction file: %1 stands for the record's place, %2 for the length.
constexpr const char* kNegativeDescription =
    VSOLO_TR("the record at byte %1 gives its description a length of %2 bytes");
constexpr const char* kDescriptionPastEnd = VSOLO_TR(
    "the record at byte %1 gives its description a length of %2 bytes, past the end of the file");

constexpr std::int32_t kTrackerFormatVersion = 4;
constexpr std::size_t kTypeSize = 25;
constexpr std::size_t kTemplateHeaderSize = 100;
constexpr const char* kTransactionType = "Transaction File";
// Group number, sub-id, date, start, end, sent flag and description length.
constexpr std::size_t kTransactionFixedSize = 4 + 4 + 11 + 6 + 6 + 4 + 4;

// A file descriptor closed when it goes out of scope. The tracker's files are opened without a
// lock: the tracker may be running and must not be kept out of them. Only regular files are
// read (a pipe would wait for a writer before the type could be tested, hence O_NONBLOCK).
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
        struct stat st {};
        if (m_fd >= 0 && (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))) {
            ::close(m_fd);
            m_fd = -1;
        }
        m_size = m_fd >= 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }

    bool isOpen() const { return m_fd >= 0; }
    std::uint64_t remaining() const { return m_size - m_pos; }

    // Exactly `count` bytes, or false. Small reads are served from a buffer of the next bytes,
    // so that a file of short records takes one system call per buffer, not one per record.
    bool read(char* buffer, std::size_t count) {
        if (count > remaining()) {
            return false;
        }
        if (count == 0) {
            return true;
        }
        if (m_pos >= m_bufferStart && m_pos + count <= m_bufferStart + m_buffered) {
            std::memcpy(buffer, m_buffer.data() + (m_pos - m_bufferStart), count);
            m_pos += count;
            return true;
        }
        if (count >= kBufferSize / 2) {
            if (readAt(m_pos, buffer, count) != count) {
                return false;
            }
            m_pos += count;
            return true;
        }
        // A file cut shorter since it was opened gives what it still has.
        m_buffer.resize(kBufferSize);
        m_bufferStart = m_pos;
        m_buffered =
            readAt(m_pos, m_buffer.data(),
                   static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, remaining())));
        if (m_buffered < count) {
            return false;
        }
        std::memcpy(buffer, m_buffer.data(), count);
        m_pos += count;
        return true;
    }
    bool readAll(std::string& out) {
        out.resize(static_cast<std::size_t>(remaining()));
        return read(out.data(), out.size());
    }
    // Moves on without reading; false when that would pass the end.
    bool skip(std::uint64_t count) {
        if (count > remaining()) {
            return false;
        }
        m_pos += count;
        return true;
    }

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    // Up to `count` bytes from `at`: fewer at the end of the file or on an error.
    std::size_t readAt(std::uint64_t at, char* buffer, std::size_t count) {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n =
                ::pread(m_fd, buffer + done, count - done, static_cast<off_t>(at + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::uint64_t m_pos = 0;
    // The bytes from m_bufferStart on, m_buffered of them.
    std::vector<char> m_buffer;
    std::uint64_t m_bufferStart = 0;
    std::size_t m_buffered = 0;
};

// The bytes of a file already in memory, read the way ReadOnlyFile reads a file.
class BytesFile {
public:
    explicit BytesFile(std::string_view bytes) : m_rest(bytes) {}

    std::uint64_t remaining() const { return m_rest.size(); }
    bool read(char* buffer, std::size_t count) {
        if (count > m_rest.size()) {
            return false;
        }
        m_rest.copy(buffer, count);
        m_rest.remove_prefix(count);
        return true;
    }
    bool skip(std::uint64_t count) {
        if (count > m_rest.size()) {
            return false;
        }
        m_rest.remove_prefix(static_cast<std::size_t>(count));
        return true;
    }

private:
    std::string_view m_rest;
};

int digitsAt(std::string_view text, std::size_t pos) {
    const auto digit = [&](std::size_t i) {
        const char c = text[pos + i];
        return c >= '0' && c <= '9' ? c - '0' : 0;
    };
    return digit(0) * 10 + digit(1);
}

ReportingResult damagedTemplate(const std::string& path, const std::string& detail) {
    return ReportingResult::failure(ReportingResult::What::Damaged, path,
                                    fillPlaceholders(tx(kDamagedTemplate), {path, detail}));
}

// Whether a description of `length` bytes that runs past the end of the file can be the last
// record cut short: the tracker's descriptions take at most kDescriptionByteLimit bytes and hold
// no zero before their last, so anything else is a length that runs over what follows, later
// records among it. What is left of the file is read only when it is that short.
template <typename File>
bool descriptionCutShort(File& file, std::int32_t length) {
    if (static_cast<std::size_t>(length) > kDescriptionByteLimit) {
        return false;
    }
    std::string rest(static_cast<std::size_t>(file.remaining()), '\0');
    return file.read(rest.data(), rest.size()) && rest.find('\0') == std::string::npos;
}

ReportingResult damagedTransactions(const std::string& path, std::uint64_t offset,
                                    std::int32_t length) {
    return ReportingResult::failure(
        ReportingResult::What::Damaged, path,
        damagedFileText(
            path, fillPlaceholders(tx(length < 0 ? kNegativeDescription : kDescriptionPastEnd),
                                   {std::to_string(offset), std::to_string(length)})));
}

// localTimeToUtc for the many times of a transaction file. mktime looks at the time zone's file
// again on every call, a file system call each time, so a day is worked out once: when the UTC
// offset is the same at its midnight and every six hours from a day before it to a day after
// the next, its times are its midnight plus the time of day, which is what mktime gives for a
// time that the clocks show once; that midnight is worked out from the calendar and the offset,
// without mktime. Other days, and times past 23:59, go to mktime itself.
class LocalDays {
public:
    std::int32_t toUtc(int year, int month, int day, int hour, int minute) {
        if (hour > 23 || minute > 59) {
            return localTimeToUtc(year, month, day, hour, minute);
        }
        const std::int32_t key = year * 10000 + month * 100 + day;
        if (m_last == nullptr || m_lastKey != key) {
            auto [at, added] = m_days.try_emplace(key);
            if (added) {
                at->second = midnightOf(year, month, day);
            }
            m_last = &at->second;
            m_lastKey = key;
        }
        if (!*m_last) {
            return localTimeToUtc(year, month, day, hour, minute);
        }
        return static_cast<std::int32_t>(**m_last + hour * 3600 + minute * 60);
    }

private:
    // Days from 1970-01-01 to a date of the Gregorian calendar, month and day normalised as
    // mktime does it (month 13 is January of the next year, day 0 the last of the month before).
    static std::int64_t civilDays(std::int64_t year, std::int64_t month, std::int64_t day) {
        const std::int64_t months = month - 1;
        const std::int64_t years = months >= 0 ? months / 12 : (months - 11) / 12;
        const std::int64_t m = months - years * 12 + 1; // 1 to 12
        // Years from March on, so that the leap day ends the year.
        const std::int64_t y = year + years - (m <= 2 ? 1 : 0);
        const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
        const std::int64_t yearOfEra = y - era * 400;
        const std::int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5;
        const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
        return era * 146097 + dayOfEra - 719468 + (day - 1);
    }

    static std::optional<std::time_t> midnightOf(int year, int month, int day) {
        const std::int64_t days = civilDays(year, month, day);
        const std::time_t civil = static_cast<std::time_t>(days * 86400);
        std::tm guess{};
        if (!::localtime_r(&civil, &guess)) {
            return std::nullopt;
        }
        const std::time_t midnight = civil - guess.tm_gmtoff;
        std::tm shown{};
        if (!::localtime_r(&midnight, &shown) || shown.tm_hour != 0 || shown.tm_min != 0 ||
            shown.tm_sec != 0 || shown.tm_gmtoff != guess.tm_gmtoff ||
            civilDays(shown.tm_year + 1900, shown.tm_mon + 1, shown.tm_mday) != days) {
            return std::nullopt;
        }
        constexpr std::time_t kStep = 6 * 3600;
        for (std::time_t at = midnight - 4 * kStep; at <= midnight + 8 * kStep; at += kStep) {
            std::tm other{};
            if (!::localtime_r(&at, &other) || other.tm_gmtoff != shown.tm_gmtoff) {
                return std::nullopt;
            }
        }
        return midnight;
    }

    std::unordered_map<std::int32_t, std::optional<std::time_t>> m_days;
    const std::optional<std::time_t>* m_last = nullptr;
    std::int32_t m_lastKey = 0;
};

// The records of a transaction file from either source, which need only read exactly, skip and
// tell what is left. `cutShort` is set when the last record is cut short; it is left out.
template <typename File>
ReportingResult readTransactions(File& file, const std::string& path, std::vector<TimeSpan>& out,
                                 bool& cutShort) {
    char header[4 + kTypeSize];
    if (!file.read(header, sizeof header) || loadI32(header) != kTrackerFormatVersion ||
        std::string_view(header + 4, kTypeSize)
                .substr(0, std::string_view(header + 4, kTypeSize).find('\0')) !=
            kTransactionType) {
        return ReportingResult::failure(ReportingResult::What::NotRecognized, path,
                                        tx(kTransactionsNotRecognizedText));
    }
    std::vector<TimeSpan> spans;
    // Room for as many records as the file can hold, so that the list is not copied as it grows;
    // pages that are never filled take no memory. Bounded for a file of a few vast records.
    constexpr std::uint64_t kReservedAtMost = std::uint64_t{1} << 22;
    spans.reserve(static_cast<std::size_t>(
        std::min(file.remaining() / kTransactionFixedSize, kReservedAtMost)));
    LocalDays days;
    char record[kTransactionFixedSize];
    // Fewer bytes than a record's first field at the end are no record.
    for (std::uint64_t offset = sizeof header; file.remaining() >= 4;) {
        if (!file.read(record, sizeof record)) {
            cutShort = true;
            break;
        }
        const std::string_view date(record + 8, 10);
        const std::string_view start(record + 19, 5);
        const std::string_view end(record + 25, 5);
        const std::int32_t length = loadI32(record + 35);
        if (length < 0) {
            return damagedTransactions(path, offset, length);
        }
        if (!file.skip(static_cast<std::uint32_t>(length))) {
            if (!descriptionCutShort(file, length)) {
                return damagedTransactions(path, offset, length);
            }
            cutShort = true;
            break;
        }
        offset += sizeof record + static_cast<std::uint32_t>(length);
        const int month = digitsAt(date, 0);
        const int day = digitsAt(date, 3);
        const int year = digitsAt(date, 6) * 100 + digitsAt(date, 8);
        TimeSpan span;
        span.groupNumber = loadI32(record);
        span.subId = loadI32(record + 4);
        span.date = year * 10000 + month * 100 + day;
        span.start = days.toUtc(year, month, day, digitsAt(start, 0), digitsAt(start, 3));
        const std::int32_t endTime =
            days.toUtc(year, month, day, digitsAt(end, 0), digitsAt(end, 3));
        span.duration = static_cast<std::int32_t>(std::int64_t{endTime} - span.start);
        span.sent = loadI32(record + 31);
        spans.push_back(span);
    }
    out = std::move(spans);
    return ReportingResult::done();
}

} // namespace

std::string templateNotFoundText(const std::string& path) {
    return fillPlaceholders(tx(kTemplateNotFoundText), {path});
}

std::int32_t localTimeToUtc(int year, int month, int day, int hour, int minute) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    return static_cast<std::int32_t>(std::mktime(&local));
}

ReportingResult readTemplateFile(const std::string& path, std::vector<TemplateItem>& out) {
    out.clear();
    ReadOnlyFile file(path);
    if (!file.isOpen()) {
        return ReportingResult::failure(ReportingResult::What::CannotOpen, path,
                                        templateNotFoundText(path), kTemplateNotFoundId);
    }
    std::string bytes;
    if (!file.readAll(bytes)) {
        return ReportingResult::failure(ReportingResult::What::CannotOpen, path,
                                        templateNotFoundText(path), kTemplateNotFoundId);
    }
    return decodeTemplateFile(bytes, path, out);
}

ReportingResult decodeTemplateFile(std::string_view bytes, const std::string& path,
                                   std::vector<TemplateItem>& out) {
    out.clear();
    ByteReader reader(bytes);
    std::int32_t version = 0;
    if (!reader.readI32(version) || version != kTrackerFormatVersion) {
        return ReportingResult::failure(ReportingResult::What::NotRecognized, path,
                                        tx(kTemplateFormatText), kTemplateFormatId);
    }
    std::int32_t count = 0;
    if (!reader.skip(kTemplateHeaderSize - 4) || !reader.readI32(count)) {
        return damagedTemplate(path, tx(kHeaderCut));
    }
    // Each item has at least its fixed fields and three lengths.
    constexpr std::size_t kMinItem = 4 * 4 + 4 + 3 * 4;
    if (count < 0 || static_cast<std::uint64_t>(count) * kMinItem > reader.remaining()) {
        return damagedTemplate(path,
                               fillPlaceholders(tx(kItemCountTooHigh), {std::to_string(count)}));
    }
    std::vector<TemplateItem> items(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < items.size(); ++i) {
        TemplateItem& item = items[i];
        item.templateOrder = i;
        std::uint8_t active = 0;
        std::uint8_t level = 0;
        std::uint16_t target = 0;
        if (!reader.readI32(item.groupNumber) || !reader.readI32(item.parentSubId) ||
            !reader.readI32(item.subId) || !reader.readI32(item.depth) || !reader.readU8(active) ||
            !reader.readU8(level) || !reader.readU16(target)) {
            return damagedTemplate(path, tx(kItemCut));
        }
        item.activeFlag = active;
        item.level = level;
        item.targetPercentage = target;
        for (std::string* text : {&item.name, &item.description, &item.thirdText}) {
            const std::size_t at = reader.position();
            switch (reader.readCountedText(kTextBufferSize, *text)) {
            case ByteReader::CountedText::Ok:
                continue;
            case ByteReader::CountedText::TooLong:
                return damagedTemplate(
                    path, fillPlaceholders(tx(kTextTooLong),
                                           {std::to_string(at), std::to_string(kTextBufferSize)}));
            case ByteReader::CountedText::Truncated:
                break;
            }
            return damagedTemplate(path, fillPlaceholders(tx(kTextCut), {std::to_string(at)}));
        }
    }
    out = std::move(items);
    return ReportingResult::done();
}

ReportingResult readTransactionFile(const std::string& path, std::vector<TimeSpan>& out,
                                    bool& cutShort) {
    out.clear();
    cutShort = false;
    ReadOnlyFile file(path);
    if (!file.isOpen()) {
        return ReportingResult::failure(ReportingResult::What::CannotOpen, path,
                                        tx(kTransactionsMissingText));
    }
    return readTransactions(file, path, out, cutShort);
}

ReportingResult decodeTransactionFile(std::string_view bytes, const std::string& path,
                                      std::vector<TimeSpan>& out, bool& cutShort) {
    out.clear();
    cutShort = false;
    BytesFile file(bytes);
    return readTransactions(file, path, out, cutShort);
}

} // namespace vsolo::reporting
