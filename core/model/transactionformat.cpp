#include "core/model/transactionformat.h"

#include "core/base/bytes.h"
#include "core/base/datetext.h"
#include "core/base/placeholders.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace vsolo {

namespace {

constexpr std::size_t kChunk = 1 << 20;
constexpr std::size_t kVersion4Fixed = 4 + 4 + 11 + 6 + 6 + 4 + 4;

std::string_view fixedField(const char* p, std::size_t size) {
    const void* zero = std::memchr(p, 0, size);
    return std::string_view(p, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - p)
                                    : size);
}

// A date or time field: its text in the fixed form the writers make, then a zero byte, is taken
// without a search for the zero byte (those forms hold none); anything else as any fixed field.
std::string_view whenField(const char* p, std::size_t size, bool (*isFixed)(std::string_view)) {
    const std::string_view text(p, size - 1);
    return p[size - 1] == '\0' && isFixed(text) ? text : fixedField(p, size);
}
std::string_view dateField(const char* p) {
    return whenField(p, 11, isFixedDateText);
}
std::string_view timeField(const char* p) {
    return whenField(p, 6, isFixedTimeText);
}

// A record can be passed over by its date text only when that text is in the writers' form; a
// date written in any other form ("3/7/1999", or "03/07/0099" whose year the year rule maps) may
// still be the date looked for.
bool skipByDate(std::string_view dateText, std::string_view filter) {
    return !filter.empty() && dateText != filter && isFixedDateText(dateText) && dateText[6] != '0';
}

// The fixed forms the writers make are read directly; any other text goes through the general
// readers, which accept everything a user could have typed (and read the fixed forms alike).
bool parseDateField(std::string_view text, TimeValue& out) {
    if (const std::optional<TimeValue> date = readFixedDate(text)) {
        out = *date;
        return true;
    }
    return out.parseDate(text);
}

int digitValue(char c) {
    return c - '0';
}

bool parseTimeField(std::string_view text, TimeValue& out) {
    // The writers' "HH:MM" is read here, with no call: two fields of every record hold it.
    if (isFixedTimeText(text)) {
        const int hours = digitValue(text[0]) * 10 + digitValue(text[1]);
        const int minutes = digitValue(text[3]) * 10 + digitValue(text[4]);
        if (hours <= 23 && minutes <= 59) {
            out = TimeValue(hours * TimeValue::kHour + minutes * TimeValue::kMinute);
            return true;
        }
    }
    return out.parseTime(text);
}

} // namespace

// The date, start and end fields of a record. The records of a day follow each other, so a date
// text like the last one is not read again.
bool TransactionReader::readWhen(std::string_view dateText, std::string_view startText,
                                 std::string_view endText, TimeValue& date, TimeValue& start,
                                 TimeValue& end) {
    // Compared with a length known here for the writers' form, which needs no call.
    const bool sameText =
        dateText.size() == m_lastDateText.size() &&
        (dateText.size() == 10 ? std::memcmp(dateText.data(), m_lastDateText.data(), 10) == 0
                               : dateText == m_lastDateText);
    if (!m_lastDateText.empty() && sameText) {
        date = m_lastDate;
    } else if (parseDateField(dateText, date)) {
        m_lastDateText.assign(dateText);
        m_lastDate = date;
    } else {
        return false;
    }
    return parseTimeField(startText, start) && parseTimeField(endText, end);
}

namespace {

constexpr const char* kUnreadableWhen = " holds a date or time that cannot be read";

std::size_t utf8Characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// A text field up to its first zero byte, and whether it is all ASCII, in one pass of eight
// bytes at a time: the description of every record goes through it.
std::string_view storedText(const char* p, std::size_t size, bool& ascii) {
    constexpr std::uint64_t kLow = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (((word - kLow) & ~word & kHigh) != 0) {
            break; // a zero byte in this word
        }
        high |= word;
    }
    for (; i < size && p[i] != '\0'; ++i) {
        high |= static_cast<unsigned char>(p[i]);
    }
    ascii = (high & kHigh) == 0;
    return std::string_view(p, i);
}

// The description as stored: at most `maxChars` characters and never cut inside one.
std::string_view limitDescription(std::string_view text, std::size_t maxChars) {
    text = text.substr(0, text.find('\0'));
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++chars > maxChars) {
            return text.substr(0, i);
        }
    }
    return text;
}

void appendI32(std::string& out, std::int32_t value) {
    char bytes[4];
    storeI32(bytes, value);
    out.append(bytes, 4);
}

void appendFixed(std::string& out, std::string_view text, std::size_t size) {
    appendFixedText(out, text, size);
}

void appendCounted(std::string& out, std::string_view text) {
    appendI32(out, static_cast<std::int32_t>(text.size() + 1));
    out.append(text);
    out.push_back('\0');
}

void appendDateField(std::string& out, TimeValue date) {
    appendShortDate(out, date);
    out.push_back('\0');
}

void appendTimeField(std::string& out, TimeValue time) {
    appendClockTime(out, time);
    out.push_back('\0');
}

std::string recordPlace(std::size_t index) {
    return "record " + std::to_string(index + 1);
}

} // namespace

std::string transactionFileHeader() {
    std::string out;
    appendI32(out, 4);
    appendFixed(out, kTransactionFileText, 25);
    return out;
}

TextCapacity descriptionCapacity(TransactionLayout layout) {
    return layout == TransactionLayout::Version4
               ? TextCapacity::characters(kDescriptionCharLimit)
               : TextCapacity::fixedField(kLegacyDescriptionChars + 1);
}

std::optional<std::string> unstorableTransactionText(TransactionLayout layout,
                                                     const Transaction& t) {
    const auto problem =
        textEntryProblem(t.description(), descriptionCapacity(layout), tx(kDescriptionHoldsText));
    if (!problem) {
        return std::nullopt;
    }
    return fillPlaceholders(
               tx(kTransactionLabelText),
               {t.date().shortDate(), t.start().clockTimeNoPad(), t.end().clockTimeNoPad()}) +
           ": " + *problem;
}

ByteSource sourceFromBytes(std::string_view bytes) {
    return [bytes](char* buffer, std::size_t capacity) mutable -> std::int64_t {
        const std::size_t n = std::min(capacity, bytes.size());
        std::memcpy(buffer, bytes.data(), n);
        bytes.remove_prefix(n);
        return static_cast<std::int64_t>(n);
    };
}

TransactionReader::TransactionReader(ByteSource source, TransactionLayout expected)
    : m_source(std::move(source)), m_layout(expected) {}

TransactionReader TransactionReader::ofRecords(ByteSource source, TransactionLayout layout) {
    TransactionReader reader(std::move(source), layout);
    reader.m_started = true;
    reader.m_hasHeader = layout == TransactionLayout::Version4;
    return reader;
}

bool TransactionReader::fill(std::size_t need) {
    if (m_end - m_begin >= need) {
        return true;
    }
    if (m_buffer.empty()) {
        m_buffer.resize(kChunk);
    }
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    while (m_end - m_begin < need && !m_eof) {
        const std::int64_t n = m_source(m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (n < 0) {
            m_readError = true;
            m_eof = true;
        } else if (n == 0) {
            m_eof = true;
        } else {
            m_end += static_cast<std::size_t>(n);
        }
    }
    return m_end - m_begin >= need;
}

bool TransactionReader::fail(std::string detail) {
    m_detail = std::move(detail);
    return false;
}

bool TransactionReader::endAtTail(bool incomplete) {
    m_ended = true;
    m_incomplete = incomplete && !m_readError;
    m_tail = m_end - m_begin;
    m_begin = m_end;
    return false;
}

bool TransactionReader::start() {
    m_started = true;
    if (!fill(4)) {
        // Fewer bytes than the first field of a record, or an empty file: no records.
        return m_readError ? false : endAtTail(false);
    }
    if (loadI32(m_buffer.data() + m_begin) == 4) {
        m_layout = TransactionLayout::Version4;
        m_hasHeader = true;
        if (!fill(kTransactionHeaderSize)) {
            return m_readError ? false : endAtTail(true);
        }
        m_begin += kTransactionHeaderSize;
        m_consumed = kTransactionHeaderSize;
        return true;
    }
    if (m_layout == TransactionLayout::Version4) {
        return fail("the file does not start with the transaction file header");
    }
    return true;
}

bool TransactionReader::next(Transaction& out) {
    return nextOfDate({}, out);
}

void TransactionReader::walkToEnd() {
    m_walkOnly = true;
    Transaction ignored;
    while (nextOfDate({}, ignored)) {
    }
    m_walkOnly = false;
}

bool TransactionReader::nextOfDate(std::string_view shortDate, Transaction& out) {
    if (!m_detail.empty() || m_readError || m_ended || (!m_started && !start())) {
        return false;
    }
    const std::size_t firstField = m_layout == TransactionLayout::Version4 ? 4 : 11;
    for (;;) {
        if (!fill(firstField)) {
            // The end of the file, or a read failure.
            return m_readError ? false : endAtTail(false);
        }
        const bool parsed = m_layout == TransactionLayout::Version4 ? parseVersion4(out, shortDate)
                                                                    : parseLegacy(out, shortDate);
        if (!m_detail.empty() || m_readError || m_ended) {
            return false;
        }
        if (parsed) {
            return true;
        }
    }
}

std::size_t TransactionReader::takeRecord(std::size_t size) {
    m_begin += size;
    m_consumed += size;
    return m_records++;
}

// Returns true with a record in `out`; false with no detail for a record skipped by the filter.
bool TransactionReader::parseVersion4(Transaction& out, std::string_view dateFilter) {
    if (!fill(kVersion4Fixed)) {
        return m_readError ? false : endAtTail(true);
    }
    const char* p = m_buffer.data() + m_begin;
    const std::int32_t length = loadI32(p + kVersion4Fixed - 4);
    if (length < 0 || static_cast<std::size_t>(length) > kDescriptionByteLimit) {
        return fail(recordPlace(m_records) + " has a description of " + std::to_string(length) +
                    " bytes, more than a description can hold");
    }
    const std::size_t size = kVersion4Fixed + static_cast<std::size_t>(length);
    if (!fill(size)) {
        return m_readError ? false : endAtTail(true);
    }
    p = m_buffer.data() + m_begin;
    const std::size_t index = takeRecord(size);
    const std::string_view dateText = dateField(p + 8);
    if (m_walkOnly || skipByDate(dateText, dateFilter)) {
        return false;
    }
    TimeValue date, start, end;
    if (!readWhen(dateText, timeField(p + 19), timeField(p + 25), date, start, end)) {
        return fail(recordPlace(index) + kUnreadableWhen);
    }
    // Characters are counted after decoding: in a Windows-1252 text every byte is one character,
    // even those that would be continuation bytes in UTF-8.
    bool ascii = false; // most are: one character a byte, no decoding
    const std::string_view stored =
        storedText(p + kVersion4Fixed, static_cast<std::size_t>(length), ascii);
    std::string decoded;
    const std::string_view description =
        ascii || isValidUtf8(stored) ? stored
                                     : std::string_view(decoded = decodeWindows1252(stored));
    if ((ascii ? description.size() : utf8Characters(description)) > kDescriptionCharLimit) {
        return fail(recordPlace(index) + " has a description longer than " +
                    std::to_string(kDescriptionCharLimit) + " characters");
    }
    out.assignRead(date, start, end, loadI32(p), loadI32(p + 4), description, loadI32(p + 31) != 0);
    return true;
}

bool TransactionReader::parseLegacy(Transaction& out, std::string_view dateFilter) {
    if (!fill(kLegacyRecordSize)) {
        return m_readError ? false : endAtTail(true);
    }
    const char* p = m_buffer.data() + m_begin;
    const std::size_t index = takeRecord(kLegacyRecordSize);
    const std::string_view dateText = dateField(p);
    if (m_walkOnly || skipByDate(dateText, dateFilter)) {
        return false;
    }
    TimeValue date, start, end;
    if (!readWhen(dateText, timeField(p + 11), timeField(p + 28), date, start, end)) {
        return fail(recordPlace(index) + kUnreadableWhen);
    }
    out = Transaction(date, start, end, loadI32(p + 34), loadI32(p + 38),
                      decodeWindows1252(fixedField(p + 42, 61)), p[17] == 'S');
    out.setError(p[18] == 'T');
    return true;
}

bool readTransactionsInto(TransactionReader& reader, TransactionStore& store, bool fileStamps) {
    // Into an empty store, each day of a file in time order (as the writers leave it) goes in as
    // it is read; from the first record out of that order on, the rest goes in at the end, where
    // it is sorted in among the days taken so far.
    bool inOrder = store.empty();
    std::vector<std::unique_ptr<Transaction>> day;
    std::vector<std::unique_ptr<Transaction>> rest;
    const auto takeDay = [&] {
        const std::size_t size = day.size();
        inOrder = store.appendDay(day);
        if (!inOrder) {
            rest = std::move(day);
        }
        day.clear();
        day.reserve(size);
    };
    // How many transactions each day holds so far: the store's, then those read.
    std::unordered_map<std::int32_t, std::int32_t> dayCounts;
    std::int32_t* count = nullptr; // of the day of the last record, which the next mostly shares
    TimeValue countedDate;
    auto t = std::make_unique<Transaction>();
    while (reader.next(*t)) {
        if (fileStamps) {
            // Every stamp of a day read from a file counts up from the date, so the next free
            // one is the date plus the number of transactions the day holds already.
            if (!count || countedDate != t->date()) {
                const auto [found, fresh] = dayCounts.try_emplace(t->date().seconds(), 0);
                if (fresh) {
                    const Day* held = store.findDay(t->date());
                    found->second = static_cast<std::int32_t>(held ? held->size() : 0);
                }
                count = &found->second;
                countedDate = t->date();
            }
            t->initStamp(t->date().seconds() + (*count)++);
        }
        if (inOrder && !day.empty() && day.front()->date() != t->date()) {
            takeDay();
        }
        (inOrder ? day : rest).push_back(std::move(t));
        t = std::make_unique<Transaction>();
    }
    if (inOrder) {
        takeDay();
    }
    store.addAll(std::move(rest));
    return !reader.failed();
}

void appendShortDate(std::string& out, TimeValue date) {
    const CalendarTime c = date.toCalendar();
    char text[10] = {static_cast<char>('0' + c.month / 10),
                     static_cast<char>('0' + c.month % 10),
                     '/',
                     static_cast<char>('0' + c.day / 10),
                     static_cast<char>('0' + c.day % 10),
                     '/',
                     static_cast<char>('0' + c.year / 1000 % 10),
                     static_cast<char>('0' + c.year / 100 % 10),
                     static_cast<char>('0' + c.year / 10 % 10),
                     static_cast<char>('0' + c.year % 10)};
    out.append(text, 10);
}

void appendClockTime(std::string& out, TimeValue time) {
    const CalendarTime c = time.toCalendar();
    const char text[5] = {
        static_cast<char>('0' + c.hour / 10), static_cast<char>('0' + c.hour % 10), ':',
        static_cast<char>('0' + c.minute / 10), static_cast<char>('0' + c.minute % 10)};
    out.append(text, 5);
}

void appendVersion4Record(std::string& out, const Transaction& t) {
    appendI32(out, t.level1Key());
    appendI32(out, t.level2Key());
    appendDateField(out, t.date());
    appendTimeField(out, t.start());
    appendTimeField(out, t.end());
    appendI32(out, t.isSent() ? 1 : 0);
    appendCounted(out, limitDescription(t.description(), kDescriptionCharLimit));
}

void appendLegacyRecord(std::string& out, const Transaction& t) {
    appendDateField(out, t.date());
    appendTimeField(out, t.start());
    out.push_back(t.isSent() ? 'S' : '0');
    out.push_back(t.isError() ? 'T' : '0');
    out.append(8, '0');
    out.push_back('\0');
    appendTimeField(out, t.end());
    appendI32(out, t.level1Key());
    appendI32(out, t.level2Key());
    appendFixed(out, t.description(), kLegacyDescriptionChars + 1);
}

void appendHandOffVersion4(std::string& out, std::string_view baseName, const Transaction& t) {
    appendCounted(out, baseName);
    appendI32(out, t.level1Key());
    appendI32(out, t.level2Key());
    appendDateField(out, t.date());
    appendTimeField(out, t.start());
    appendTimeField(out, t.end());
    appendCounted(out, limitDescription(t.description(), kDescriptionCharLimit));
}

void appendHandOffLegacy(std::string& out, std::string_view baseName, const Transaction& t) {
    appendFixed(out, baseName, 9);
    appendI32(out, t.level1Key());
    appendI32(out, t.level2Key());
    appendDateField(out, t.date());
    appendTimeField(out, t.start());
    appendDateField(out, t.date());
    appendTimeField(out, t.end());
    appendFixed(out, t.description(), kLegacyDescriptionChars + 1);
}

} // namespace vsolo
