#include "core/base/fileio.h"

#include "core/base/faultinjection.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vsolo {

namespace {

// The folder a path names, "." for a bare file name. Given as a pointer into `folder` rather than
// by assigning "." to it: GCC 12 takes that short assignment, inlined here, for an overlapping
// copy (-Wrestrict) in optimised builds.
const char* folderOrDot(const std::string& folder) {
    return folder.empty() ? "." : folder.c_str();
}

bool folderExists(const std::string& path) {
    const std::string folder = folderOf(path);
    struct stat st {};
    return ::stat(folderOrDot(folder), &st) == 0 && S_ISDIR(st.st_mode);
}

int retryingOpen(const char* path, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = faults::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// VSOLO_LOCK_WAIT, in seconds, when it is set: a script may want to fail at once.
long long initialLockWait() {
    const char* text = std::getenv("VSOLO_LOCK_WAIT");
    char* end = nullptr;
    const double seconds = text ? std::strtod(text, &end) : -1;
    if (!text || end == text || *end != '\0' || !(seconds >= 0) || seconds > 3600) {
        return kDefaultLockWait.count();
    }
    return static_cast<long long>(seconds * 1000);
}

std::atomic<long long> g_lockWaitMs{initialLockWait()};

bool tryLockExclusive(int fd) {
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

// Takes the lock, waiting for another process to let it go for at most the lock wait. The wait is
// counted in the pauses slept, so no clock is read.
bool lockExclusive(int fd, const std::string& path, std::chrono::milliseconds& waited) {
    auto pause = std::chrono::milliseconds(1);
    bool told = false;
    while (!tryLockExclusive(fd)) {
        if (errno != EWOULDBLOCK || waited >= lockWait()) {
            return false;
        }
        if (!told) {
            faults::pauseAt(faults::Step::LockBusy, path);
            told = true;
        }
        std::this_thread::sleep_for(pause);
        waited += pause;
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    return true;
}

FileIdentity identityOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// Whether the path still names the open file: another program may have renamed a new file over
// it, or removed it, after it was opened.
bool pathStillNames(const std::string& path, int fd) {
    struct stat byPath {};
    struct stat byFd {};
    return ::stat(path.c_str(), &byPath) == 0 && ::fstat(fd, &byFd) == 0 &&
           identityOf(byPath) == identityOf(byFd);
}

// How many times an open follows a path that other programs keep replacing before it gives up.
constexpr int kReopenLimit = 64;

// Gives the owner write permission, as clearing a read-only attribute would.
void allowOwnerWrite(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0) {
        ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
    }
}

// Writes go to the file a symbolic link points at, so the link survives a rewrite.
std::string resolveTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path;
}

// Makes a rename in the folder durable. A folder that cannot be opened for reading, or a file
// system that cannot flush folders, leaves nothing to do; a flush that fails is the errno, since
// the rename may then be lost with the next power cut.
int syncFolderOf(const std::string& path) {
    const std::string folder = folderOf(path);
    const int fd = retryingOpen(folderOrDot(folder), O_RDONLY | O_DIRECTORY, 0);
    if (fd < 0) {
        return 0;
    }
    int failure = 0;
    if (faults::flushFolder(fd) != 0 && errno != EINVAL && errno != ENOTSUP) {
        failure = errno;
    }
    ::close(fd);
    return failure;
}

// The temporary files of a target are named ".NAME.XXXXXX", with six letters or digits.
std::string temporaryPattern(const std::string& target) {
    return folderOf(target) + "." + fileNameOf(target) + ".XXXXXX";
}

bool isTemporaryOf(std::string_view entry, std::string_view prefix) {
    constexpr std::size_t kSuffix = 6;
    if (entry.size() != prefix.size() + kSuffix || entry.substr(0, prefix.size()) != prefix) {
        return false;
    }
    for (char c : entry.substr(prefix.size())) {
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum) {
            return false;
        }
    }
    return true;
}

// Removes the temporary files that earlier writes of the same target left behind when they
// were killed; each can be as large as the file itself. Only regular files are touched.
void removeStaleTemporaries(const std::string& target, const std::string& keep) {
    const std::string folder = folderOf(target);
    DIR* dir = ::opendir(folderOrDot(folder));
    if (dir == nullptr) {
        return;
    }
    // Built by appending: a text put in front of a temporary is the same false -Wrestrict.
    std::string prefix = ".";
    prefix += fileNameOf(target);
    prefix += '.';
    const std::string keepName = fileNameOf(keep);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == keepName || !isTemporaryOf(name, prefix)) {
            continue;
        }
        const std::string path = folder + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            ::unlink(path.c_str());
        }
    }
    ::closedir(dir);
}

} // namespace

void setLockWait(std::chrono::milliseconds wait) {
    g_lockWaitMs.store(wait.count());
}

std::chrono::milliseconds lockWait() {
    return std::chrono::milliseconds(g_lockWaitMs.load());
}

FileError FileError::fromErrno(int err, const std::string& path) {
    FileError e;
    e.osError = err;
    switch (err) {
    case ENOENT:
        e.code = folderExists(path) ? kNotFound : kPathNotFound;
        break;
    case ENOTDIR:
        e.code = kPathNotFound;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        e.code = kAccessDenied;
        break;
    case EWOULDBLOCK:
        e.code = kSharingViolation;
        break;
    case ENETUNREACH:
    case ENETDOWN:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ETIMEDOUT:
    case ESTALE:
    case ECONNREFUSED:
    case ECONNRESET:
    case ENOTCONN:
    case ENOLINK:
    case ECOMM:
    case EREMOTEIO:
        e.code = kBadNetPath;
        break;
    case EEXIST:
        e.code = kFileExists;
        break;
    default:
        e.code = 0;
        break;
    }
    return e;
}

LockedFile::LockedFile(LockedFile&& other) noexcept
    : m_fd(other.m_fd), m_path(std::move(other.m_path)), m_created(other.m_created) {
    other.m_fd = -1;
}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_path = std::move(other.m_path);
        m_created = other.m_created;
        other.m_fd = -1;
    }
    return *this;
}

LockedFile::~LockedFile() {
    close();
}

void LockedFile::close() {
    if (m_fd >= 0) {
        ::close(m_fd); // closing the descriptor releases the lock
        m_fd = -1;
    }
}

LockedFile LockedFile::open(const std::string& path, Mode mode, FileError& error) {
    LockedFile file = openLocked(path, mode, error);
    if (!file.isOpen()) {
        error.reading = mode == Mode::Read;
    }
    return file;
}

LockedFile LockedFile::openLocked(const std::string& path, Mode mode, FileError& error) {
    int flags = O_RDONLY;
    if (mode != Mode::Read) {
        allowOwnerWrite(path);
        flags = O_RDWR | (mode == Mode::ReadWriteCreate ? O_CREAT : 0);
    }
    std::chrono::milliseconds waited{0};
    for (int attempt = 0; attempt < kReopenLimit; ++attempt) {
        if (isDirectory(path)) {
            error = FileError::fromErrno(EISDIR, path);
            error.code = FileError::kAccessDenied;
            return {};
        }
        // A file this call creates is known, so that its first append also makes its name
        // durable.
        bool created = false;
        int fd = -1;
        if (mode == Mode::ReadWriteCreate) {
            fd = retryingOpen(path.c_str(), flags | O_EXCL, 0666);
            created = fd >= 0;
        }
        if (fd < 0 && (mode != Mode::ReadWriteCreate || errno == EEXIST)) {
            fd = retryingOpen(path.c_str(), flags, 0666);
        }
        if (fd < 0) {
            error = FileError::fromErrno(errno, path);
            return {};
        }
        faults::pauseAt(faults::Step::OpenedBeforeLock, path);
        if (!lockExclusive(fd, path, waited)) {
            error = FileError::fromErrno(errno, path);
            ::close(fd);
            return {};
        }
        // Replaced while this call waited for the lock: what it holds is no longer the file.
        if (!pathStillNames(path, fd)) {
            ::close(fd);
            continue;
        }
        LockedFile file(fd, path);
        file.m_created = created;
        return file;
    }
    error = FileError::fromErrno(EAGAIN, path);
    return {};
}

FileIdentity LockedFile::identity() const {
    struct stat st {};
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 ? identityOf(st) : FileIdentity{};
}

KeptFile LockedFile::unlockAndKeep() {
    if (m_fd < 0) {
        return {};
    }
    ::flock(m_fd, LOCK_UN);
    KeptFile kept(m_fd, std::move(m_path));
    m_fd = -1;
    return kept;
}

KeptFile::KeptFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {
    struct stat st {};
    if (::fstat(m_fd, &st) == 0) {
        m_identity = identityOf(st);
    }
}

KeptFile::KeptFile(KeptFile&& other) noexcept
    : m_fd(other.m_fd), m_path(std::move(other.m_path)), m_identity(other.m_identity) {
    other.m_fd = -1;
}

KeptFile& KeptFile::operator=(KeptFile&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_path = std::move(other.m_path);
        m_identity = other.m_identity;
        other.m_fd = -1;
    }
    return *this;
}

KeptFile::~KeptFile() {
    close();
}

void KeptFile::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::int64_t KeptFile::readAt(std::uint64_t offset, char* buffer, std::size_t capacity,
                              FileError& error) {
    for (;;) {
        const ssize_t n = ::pread(m_fd, buffer, capacity, static_cast<off_t>(offset));
        if (n >= 0) {
            return n;
        }
        if (errno != EINTR) {
            error = FileError::fromErrno(errno, m_path);
            error.reading = true;
            return -1;
        }
    }
}

std::int64_t LockedFile::size() const {
    struct stat st {};
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 ? st.st_size : -1;
}

std::int64_t LockedFile::read(char* buffer, std::size_t capacity, FileError& error) {
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, capacity);
        if (n >= 0) {
            return n;
        }
        if (errno != EINTR) {
            error = FileError::fromErrno(errno, m_path);
            error.reading = true;
            return -1;
        }
    }
}

bool LockedFile::readAll(std::string& out, FileError& error) {
    out.clear();
    const std::int64_t expected = size();
    if (expected > 0) {
        out.reserve(static_cast<std::size_t>(expected));
    }
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const std::int64_t n = read(buffer.data(), buffer.size(), error);
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        out.append(buffer.data(), static_cast<std::size_t>(n));
    }
}

bool LockedFile::rewind(FileError& error) {
    return seek(0, error);
}

bool LockedFile::seek(std::uint64_t offset, FileError& error) {
    if (::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
        error = FileError::fromErrno(errno, m_path);
        return false;
    }
    return true;
}

bool LockedFile::appendDurably(std::string_view bytes, FileError& error) {
    const off_t oldEnd = ::lseek(m_fd, 0, SEEK_END);
    if (oldEnd < 0) {
        error = FileError::fromErrno(errno, m_path);
        return false;
    }
    int failure = 0;
    if (!writeAll(m_fd, bytes) || faults::flush(m_fd) != 0) {
        failure = errno;
    } else if (m_created) {
        // Until the folder is flushed, a power cut can take the new file with its records.
        failure = syncFolderOf(m_path);
    }
    if (failure != 0) {
        error = FileError::fromErrno(failure, m_path);
        if (::ftruncate(m_fd, oldEnd) == 0) {
            faults::flush(m_fd);
        }
        return false;
    }
    m_created = false;
    return true;
}

bool LockedFile::truncate(std::int64_t length, FileError& error) {
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0 || faults::flush(m_fd) != 0) {
        error = FileError::fromErrno(errno, m_path);
        return false;
    }
    return true;
}

bool LockedFile::overwriteInPlace(std::string_view bytes, FileError& error) {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        error = FileError::fromErrno(errno, m_path);
        return false;
    }
    // The blocks the file holds; st_blocks counts 512-byte units whatever the file system's own.
    const auto held = static_cast<std::uint64_t>(st.st_blocks) * 512;
    if (bytes.size() > held) {
        error = FileError::fromErrno(ENOSPC, m_path);
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = faults::overwrite(m_fd, bytes.data() + done, bytes.size() - done,
                                            static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = FileError::fromErrno(n < 0 ? errno : EIO, m_path);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return truncate(static_cast<std::int64_t>(bytes.size()), error);
}

AtomicFileWriter::~AtomicFileWriter() {
    abandon();
}

void AtomicFileWriter::abandon() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_inPlace = false;
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
    m_target.close();
    m_written = ContentDigest();
}

bool AtomicFileWriter::begin(const std::string& path, FileError& error, bool onlyIfStillAbsent) {
    abandon();
    m_keepOwner = false;
    m_existed = false;
    m_onlyIfStillAbsent = onlyIfStillAbsent;
    m_targetPath = resolveTarget(path);
    struct stat st {};
    if (::stat(m_targetPath.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error = FileError::fromErrno(EISDIR, m_targetPath);
            error.code = FileError::kAccessDenied;
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            return openInPlace(error);
        }
        // Hold the old file, so that a file another process has open is not replaced under it.
        m_target = LockedFile::open(m_targetPath, LockedFile::Mode::ReadWrite, error);
        if (!m_target.isOpen()) {
            return false;
        }
        // The mode and owner of the file that is held, which may have replaced the one looked at.
        ::fstat(m_target.m_fd, &st);
        m_mode = (st.st_mode & 07777) | S_IWUSR;
        m_owner = st.st_uid;
        m_group = st.st_gid;
        m_keepOwner = true;
        m_existed = true;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        m_mode = 0666 & ~mask;
    }
    const std::string pattern = temporaryPattern(m_targetPath);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0) {
        error = FileError::fromErrno(errno, m_targetPath);
        m_target.close();
        return false;
    }
    m_tempPath = name.data();
    if (m_keepOwner) {
        // Another user's rewrite (an administrator's, say) must not take the file over. Where
        // the process may not give the file away it keeps at least the group where it can.
        if (::fchown(m_fd, m_owner, m_group) != 0 &&
            ::fchown(m_fd, static_cast<uid_t>(-1), m_group) != 0) {
            // Neither could be kept: the new file belongs to this process's user, as a new file
            // would.
        }
    }
    ::fchmod(m_fd, static_cast<mode_t>(m_mode));
    return true;
}

// A device or a pipe is written as it is: renaming a file over it would replace it.
bool AtomicFileWriter::openInPlace(FileError& error) {
    m_fd = retryingOpen(m_targetPath.c_str(), O_WRONLY | O_TRUNC, 0);
    if (m_fd < 0) {
        error = FileError::fromErrno(errno, m_targetPath);
        return false;
    }
    m_inPlace = true;
    return true;
}

bool AtomicFileWriter::targetMatches(const FileStamp& expected, FileError& error, bool& matches) {
    if (!m_target.isOpen()) {
        // Gone, or still missing: nothing of another program's to undo. One created from now on
        // is seen by the commit.
        matches = true;
        return true;
    }
    std::string bytes;
    if (!m_target.rewind(error) || !m_target.readAll(bytes, error)) {
        return false;
    }
    matches = FileStamp::of(bytes) == expected;
    return true;
}

bool AtomicFileWriter::write(std::string_view bytes, FileError& error) {
    if (m_fd < 0) {
        error = FileError::fromErrno(EBADF, m_targetPath);
        return false;
    }
    if (!writeAll(m_fd, bytes)) {
        error = FileError::fromErrno(errno, m_targetPath);
        abandon();
        return false;
    }
    m_written.add(bytes);
    return true;
}

// Puts the flushed temporary file in place of the target: by a rename over the old file, which is
// held; or, for a target that did not exist, by a link that fails while another program has
// created the file meanwhile, when that file is not to be replaced.
bool AtomicFileWriter::putInPlace(FileError& error) {
    faults::pauseAt(faults::Step::BeforeRename, m_targetPath);
    if (m_existed || !m_onlyIfStillAbsent) {
        if (faults::rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0) {
            error = FileError::fromErrno(errno, m_targetPath);
            return false;
        }
        return true;
    }
    if (faults::link(m_tempPath.c_str(), m_targetPath.c_str()) == 0) {
        ::unlink(m_tempPath.c_str());
        return true;
    }
    if (errno == EEXIST) {
        error = FileError::fromErrno(EEXIST, m_targetPath);
        return false;
    }
    // A file system without hard links: the rename is the best there is.
    if (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP || errno == EMLINK ||
        errno == ENOSYS) {
        struct stat st {};
        if (::lstat(m_targetPath.c_str(), &st) == 0) {
            error = FileError::fromErrno(EEXIST, m_targetPath);
            return false;
        }
        if (faults::rename(m_tempPath.c_str(), m_targetPath.c_str()) == 0) {
            return true;
        }
    }
    error = FileError::fromErrno(errno, m_targetPath);
    return false;
}

bool AtomicFileWriter::commit(FileError& error, KeptFile* kept) {
    if (m_fd < 0) {
        error = FileError::fromErrno(EBADF, m_targetPath);
        return false;
    }
    if (m_inPlace) {
        const int fd = m_fd;
        m_fd = -1;
        m_inPlace = false;
        if (::close(fd) != 0) {
            error = FileError::fromErrno(errno, m_targetPath);
            return false;
        }
        return true;
    }
    if (faults::flush(m_fd) != 0) {
        error = FileError::fromErrno(errno, m_targetPath);
        abandon();
        return false;
    }
    // While the old file is held no other writer of this target can be under way, so every other
    // temporary file of it is a left-over. Without an old file another writer may be creating it.
    if (m_existed) {
        removeStaleTemporaries(m_targetPath, m_tempPath);
    }
    if (!putInPlace(error)) {
        abandon();
        return false;
    }
    m_tempPath.clear();
    const int newFd = m_fd;
    m_fd = -1;
    const int folderFailure = syncFolderOf(m_targetPath);
    m_target.close();
    if (kept) {
        *kept = KeptFile(newFd, m_targetPath);
    } else if (::close(newFd) != 0 && folderFailure == 0) {
        error = FileError::fromErrno(errno, m_targetPath);
        return false;
    }
    if (folderFailure != 0) {
        error = FileError::fromErrno(folderFailure, m_targetPath);
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, FileError& error) {
    AtomicFileWriter writer;
    return writer.begin(path, error) && writer.write(bytes, error) && writer.commit(error);
}

bool readWholeFile(const std::string& path, std::string& out, FileError& error) {
    LockedFile file = LockedFile::open(path, LockedFile::Mode::Read, error);
    return file.isOpen() && file.readAll(out, error);
}

GuardedWrite writeFileIfUnchanged(const std::string& path, std::string_view bytes,
                                  FileStamp& expected, FileError& error) {
    AtomicFileWriter writer;
    bool matches = false;
    if (!writer.begin(path, error, /*onlyIfStillAbsent=*/true) ||
        !writer.targetMatches(expected, error, matches)) {
        return GuardedWrite::Failed;
    }
    if (!matches) {
        return GuardedWrite::ChangedElsewhere;
    }
    if (!writer.write(bytes, error) || !writer.commit(error)) {
        // Created by another program after the check: changed, not failed.
        return error.code == FileError::kFileExists ? GuardedWrite::ChangedElsewhere
                                                    : GuardedWrite::Failed;
    }
    expected = FileStamp::of(bytes);
    return GuardedWrite::Written;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool removeFile(const std::string& path, FileError& error) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        error = FileError::fromErrno(errno, path);
        return false;
    }
    return true;
}

bool copyFile(const std::string& from, const std::string& to, bool overwrite, FileError& error) {
    if (!overwrite && fileExists(to)) {
        error = FileError::fromErrno(EEXIST, to);
        return false;
    }
    std::string bytes;
    return readWholeFile(from, bytes, error) && writeFileAtomically(to, bytes, error);
}

std::string folderOf(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string fileNameOf(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

} // namespace vsolo
