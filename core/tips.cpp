#include "core/tips.h"

#include "core/base/bytes.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vsolo {

namespace {

// A character takes at most four bytes in UTF-8 and one in Windows-1252, so this many bytes always
// hold the characters kept of a line.
constexpr std::size_t kMaxLineBytes = TipReader::kMaxLineCharacters * 4;

bool isComment(std::string_view line) {
    return line.empty() || line.front() == '\t' || line.front() == ' ' || line.front() == ';';
}

std::string firstCharacters(const std::string& text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
        nextCodePoint(text, pos);
    }
    return text.substr(0, pos);
}

} // namespace

TipReader::TipReader(Settings& settings) : m_settings(settings) {}

TipReader::~TipReader() {
    close();
}

void TipReader::close() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

std::string TipReader::modificationText(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return {};
    }
    std::tm local{};
    const std::time_t seconds = st.st_mtim.tv_sec;
    if (!::localtime_r(&seconds, &local)) {
        return {};
    }
    char buffer[32];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%m/%d/%Y %H:%M:%S", &local);
    return std::string(buffer, n);
}

bool TipReader::open(const std::string& folder) {
    close();
    const std::string path = folder + "/" + std::string(tiptext::kFileName);
    // Opened without waiting, so that a pipe of that name cannot hold the program up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        // A file that is there but cannot be opened (no permission, say) is not missing.
        const bool there = fd < 0 && errno != ENOENT && errno != ENOTDIR;
        if (fd >= 0) {
            ::close(fd);
        }
        m_text = tx(there ? tiptext::kTroubleReading : tiptext::kFileMissing);
        return false;
    }
    m_file = ::fdopen(fd, "rb");
    if (!m_file) {
        ::close(fd);
        m_text = tx(tiptext::kFileMissing);
        return false;
    }

    std::int32_t position = m_settings.tipFilePos();
    const std::string stamp = modificationText(fd);
    if (stamp != m_settings.tipTimeStamp()) {
        m_settings.setTipTimeStamp(stamp);
        position = 0;
    }
    // The reading goes on from the start of a line: a stored position inside one (a setting
    // changed by hand, say) passes over the rest of it instead of showing it as a tip.
    if (position < 0 || std::fseek(m_file, position == 0 ? 0 : position - 1, SEEK_SET) != 0) {
        std::fseek(m_file, 0, SEEK_SET);
        m_text = tx(tiptext::kTroubleReading);
        return true;
    }
    std::string rest;
    if (position > 0 && std::getc(m_file) != '\n' && readLine(rest) == Line::Failed) {
        std::clearerr(m_file);
        m_text = tx(tiptext::kTroubleReading);
        return true;
    }
    next();
    return true;
}

TipReader::Line TipReader::readLine(std::string& bytes) {
    bytes.clear();
    bool any = false;
    int c = 0;
    while ((c = std::getc(m_file)) != EOF) {
        any = true;
        if (c == '\n') {
            break;
        }
        if (bytes.size() <= kMaxLineBytes) { // one byte more tells a longer line
            bytes.push_back(static_cast<char>(c));
        }
    }
    if (std::ferror(m_file)) {
        return Line::Failed;
    }
    if (!any) {
        return Line::End;
    }
    if (bytes.size() > kMaxLineBytes) {
        // A longer line: keep no piece of a character that was cut.
        bytes.resize(cutUtf8(bytes, kMaxLineBytes).size());
    } else if (!bytes.empty() && bytes.back() == '\r') {
        bytes.pop_back();
    }
    return Line::Read;
}

void TipReader::next() {
    if (!m_file) {
        return;
    }
    const long start = std::ftell(m_file);
    if (start < 0) {
        m_text = tx(tiptext::kTroubleReading);
        return;
    }
    bool rewound = false;
    std::string bytes;
    for (;;) {
        // After rewinding, coming back to where this reading began means every line was seen.
        if (rewound && std::ftell(m_file) >= start) {
            m_text = tx(tiptext::kNoTips);
            return;
        }
        const long lineStart = std::ftell(m_file);
        const Line line = readLine(bytes);
        if (line == Line::Failed) {
            std::clearerr(m_file);
            m_text = tx(tiptext::kTroubleReading);
            return;
        }
        if (line == Line::End) {
            if (rewound) {
                // Began past the end of the file, and went through all of it since.
                m_text = tx(tiptext::kNoTips);
                return;
            }
            std::clearerr(m_file);
            if (std::fseek(m_file, 0, SEEK_SET) != 0) {
                m_text = tx(tiptext::kTroubleReading);
                return;
            }
            rewound = true;
            continue;
        }
        if (lineStart == 0 && bytes.starts_with("\xEF\xBB\xBF")) {
            bytes.erase(0, 3); // the byte order mark some editors put first
        }
        if (!isComment(bytes)) {
            m_text = firstCharacters(decodeFileText(bytes), kMaxLineCharacters);
            return;
        }
    }
}

std::int32_t TipReader::position() const {
    if (!m_file) {
        return 0;
    }
    const long position = std::ftell(m_file);
    if (position < 0) {
        return 0;
    }
    return position > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(position);
}

bool TipReader::savePosition() {
    if (!m_file) {
        return true;
    }
    return m_settings.setTipFilePos(position());
}

} // namespace vsolo
