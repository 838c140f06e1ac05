#include "core/model/daytotal.h"

#include <algorithm>
#include <system_error>

namespace vsolo {

namespace {

// How many bytes before the end of what was read are compared to tell a file that grew from one
// that was written anew: enough to cover the end of the last record.
constexpr std::size_t kComparedBytes = 64;

bool readAt(LockedFile& file, std::uint64_t offset, std::size_t count, std::string& out,
            FileError& error) {
    out.resize(count);
    if (!file.seek(offset, error)) {
        return false;
    }
    for (std::size_t got = 0; got < count;) {
        const std::int64_t n = file.read(out.data() + got, count - got, error);
        if (n <= 0) {
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

FileResult DayTotal::update(const std::string& path, TransactionLayout expected, TimeValue date) {
    m_bytesRead = 0;
    if (path != m_path || date != m_date) {
        forget();
        m_path = path;
        m_date = date;
    }
    std::error_code sizeError;
    std::error_code timeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    const auto modified = std::filesystem::last_write_time(path, timeError);
    if (m_known && !sizeError && !timeError && size == m_seen.size && modified == m_seen.modified) {
        return FileResult::done();
    }
    FileResult result = read(path, expected);
    if (!result.ok()) {
        forget();
    }
    return result;
}

FileResult DayTotal::read(const std::string& path, TransactionLayout expected) {
    FileError error;
    LockedFile file = LockedFile::open(path, LockedFile::Mode::Read, error);
    if (!file.isOpen()) {
        return error.code == FileError::kNotFound ? FileResult::absent()
                                                  : FileResult::fileError(error, path);
    }
    // Every writer holds the lock: the file stays as it is seen now until it is read.
    const auto size = static_cast<std::uintmax_t>(std::max<std::int64_t>(file.size(), 0));
    std::error_code timeError;
    const auto modified = std::filesystem::last_write_time(path, timeError);
    const bool tail = grewOnly(file, size);
    const std::uint64_t from = tail ? m_seen.complete : 0;
    if (!tail) {
        m_records.clear();
    }
    if (!file.seek(from, error)) {
        return FileResult::fileError(error, path);
    }
    ByteSource source = [this, &file, &error](char* buffer, std::size_t capacity) {
        const std::int64_t n = file.read(buffer, capacity, error);
        m_bytesRead += static_cast<std::uint64_t>(std::max<std::int64_t>(n, 0));
        return n;
    };
    TransactionReader reader = tail ? TransactionReader::ofRecords(source, m_seen.layout)
                                    : TransactionReader(source, expected);
    std::string dateText;
    appendShortDate(dateText, m_date);
    Transaction t;
    while (reader.nextOfDate(dateText, t)) {
        if (t.date() == m_date) {
            m_records.push_back(t);
        }
    }
    if (reader.failed()) {
        return reader.readError() ? FileResult::fileError(error, path)
                                  : FileResult::damaged(path, reader.detail());
    }
    // A record cut short at the end is no part of what was read: the next read starts at it.
    m_seen.complete = from + reader.completeBytes();
    m_seen.layout = reader.layout();
    const std::size_t compared = std::min<std::uint64_t>(m_seen.complete, kComparedBytes);
    if (!readAt(file, m_seen.complete - compared, compared, m_seen.lastBytes, error)) {
        return FileResult::fileError(error, path);
    }
    m_seen.size = size;
    m_seen.modified = modified;
    m_seen.identity = file.identity();
    m_known = !timeError;
    sum();
    return FileResult::done();
}

bool DayTotal::grewOnly(LockedFile& file, std::uintmax_t size) {
    // A file without a complete record may still get its header: it is read whole.
    if (!m_known || m_seen.complete == 0 || size <= m_seen.size ||
        !(file.identity() == m_seen.identity)) {
        return false;
    }
    std::string before;
    FileError error;
    return readAt(file, m_seen.complete - m_seen.lastBytes.size(), m_seen.lastBytes.size(), before,
                  error) &&
           before == m_seen.lastBytes;
}

void DayTotal::forget() {
    m_known = false;
    m_seen = Seen();
    m_records.clear();
    m_seconds = 0;
}

void DayTotal::sum() {
    // The store marks the errors of the day as the time sheet does, from the records as read.
    TransactionStore day;
    for (const Transaction& t : m_records) {
        day.add(t);
    }
    day.markErrors(day.allDays());
    m_seconds = day.total(day.allDays());
}

} // namespace vsolo
