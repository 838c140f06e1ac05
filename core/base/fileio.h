#pragma once

#include "core/base/digest.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace vsolo {

// A failed file operation, as the user is told about it. `code` is the number the messages know:
// 2 file not found, 3 folder not found, 5 no permission or read-only file system, 32 held by
// another process, 53 network file system unreachable, 80 file exists; 0 for anything else, whose
// errno is then shown as the number.
struct FileError {
    static constexpr int kNotFound = 2;
    static constexpr int kPathNotFound = 3;
    static constexpr int kAccessDenied = 5;
    static constexpr int kSharingViolation = 32;
    static constexpr int kBadNetPath = 53;
    static constexpr int kFileExists = 80;

    int code = 0;
    int osError = 0;
    // Set where the failure came while the file was opened for reading or read, so that the user
    // is not told that a file which was only to be read cannot be saved.
    bool reading = false;

    // The number shown to the user.
    int number() const { return code != 0 ? code : osError; }
    static FileError fromErrno(int err, const std::string& path);
};

// How long opening a file waits for the lock that another process holds on it before it gives the
// sharing violation. The programs that share a file hold its lock only while they read it or
// write it whole, well under a second even for years of transactions; a file held past the wait
// is held for good. The setting is process-wide; VSOLO_LOCK_WAIT (seconds) in the environment
// sets where it starts.
inline constexpr std::chrono::milliseconds kDefaultLockWait{10000};
void setLockWait(std::chrono::milliseconds wait);
std::chrono::milliseconds lockWait();

// Which file an open descriptor is: its device and inode.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// What a file held when a program read it (or that there was none), for a later rewrite to tell
// whether another program has written it since: its contents by length and digest.
struct FileStamp {
    bool exists = false;
    std::uint64_t length = 0;
    Digest digest;

    static FileStamp of(std::string_view bytes) {
        return {true, bytes.size(), ContentDigest::of(bytes)};
    }
    bool operator==(const FileStamp&) const = default;
};

// A file held open without a lock, so that the bytes a program read from it stay readable after
// another program has replaced it by a rename: the old file lives on while it is held. Closed when
// destroyed.
class KeptFile {
public:
    KeptFile() = default;
    KeptFile(KeptFile&& other) noexcept;
    KeptFile& operator=(KeptFile&& other) noexcept;
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;
    ~KeptFile();

    bool isOpen() const { return m_fd >= 0; }
    FileIdentity identity() const { return m_identity; }
    // Reads up to `capacity` bytes at `offset`; 0 at the end, -1 on failure.
    std::int64_t readAt(std::uint64_t offset, char* buffer, std::size_t capacity, FileError& error);
    void close();

private:
    friend class LockedFile;
    friend class AtomicFileWriter;
    KeptFile(int fd, std::string path);
    int m_fd = -1;
    std::string m_path;
    FileIdentity m_identity;
};

// A file opened without sharing: an exclusive advisory lock is taken on the open file, so a file
// that another process holds gives the sharing violation once the lock wait has passed. A file
// that another program replaced (renamed a new file over) between the open and the lock is let go
// and the new one opened, so that what is read or appended is always the file the path names.
// Closed when destroyed.
class LockedFile {
public:
    enum class Mode { Read, ReadWrite, ReadWriteCreate };

    LockedFile() = default;
    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&& other) noexcept;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile();

    // Opens and locks; on failure the result is not open and `error` says why.
    static LockedFile open(const std::string& path, Mode mode, FileError& error);

    bool isOpen() const { return m_fd >= 0; }
    FileIdentity identity() const;
    std::int64_t size() const;
    // Reads up to `capacity` bytes from the current position; 0 at the end. -1 on failure.
    std::int64_t read(char* buffer, std::size_t capacity, FileError& error);
    bool readAll(std::string& out, FileError& error);
    // Moves the position back to the start of the file, for reading it again.
    bool rewind(FileError& error);
    // Moves the position to `offset` bytes from the start, for reading from there.
    bool seek(std::uint64_t offset, FileError& error);
    // Writes the bytes at the end of the file and flushes them to disk before reporting success;
    // the first append to a file that open() created flushes its folder too. A failed append cuts
    // the file back to its old length, so no half record is left behind.
    bool appendDurably(std::string_view bytes, FileError& error);
    // Cuts the file back to `length` bytes and flushes that to disk.
    bool truncate(std::int64_t length, FileError& error);
    // Replaces the file's contents by the bytes, written over them where they lie, then cuts the
    // file to their length and flushes it: for a disk that is full, as this takes no new space.
    // Bytes that do not fit in the space the file holds on disk already are refused with ENOSPC
    // before anything is written. Unlike a rewrite through AtomicFileWriter, a crash in the middle
    // can leave old and new bytes mixed.
    bool overwriteInPlace(std::string_view bytes, FileError& error);
    // Lets the lock go and keeps the file open, for reading what it held later.
    KeptFile unlockAndKeep();
    void close();

private:
    friend class AtomicFileWriter;
    static LockedFile openLocked(const std::string& path, Mode mode, FileError& error);
    explicit LockedFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    int m_fd = -1;
    std::string m_path;
    bool m_created = false; // created by open(), its folder not yet flushed
};

// Writes a whole file safely: the bytes go to a temporary file beside the target, which is flushed
// to disk and renamed over the target. A target that another process holds is refused with the
// sharing violation; a target without write permission for its owner gets it first. The new file
// keeps the old one's mode and, where the process may, its owner and group. A successful write
// removes the temporary files that killed writes of the same target left behind. On any failure
// the old file is left as it was and the temporary file is removed, except when the folder cannot
// be flushed after the rename: the new file is then in place but may not survive a power cut, and
// the commit fails with that error.
// Between begin() and commit() the old file is held under its lock and can be read through
// target(), so that what is written can be based on what is on disk at the moment of the rename.
// A target that did not exist at begin() is created only if it still does not exist at the commit
// when `onlyIfStillAbsent` is set: a file another program created meanwhile is then not replaced,
// and the commit fails with the file-exists error.
// A target that exists but is no regular file (a device or a pipe; links followed) must not be
// replaced: it is opened and written to directly, without a temporary file, and committing closes
// it. Opening a pipe waits for its reader; a socket cannot be opened and is refused with the
// system's error; bytes written before a failure stay written. A folder is refused as before.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter(); // abandons an uncommitted write

    bool begin(const std::string& path, FileError& error, bool onlyIfStillAbsent = false);
    // The old file, held under its lock since begin(); nullptr when there was none.
    LockedFile* target() { return m_target.isOpen() ? &m_target : nullptr; }
    // Whether the old file is still what the stamp says was read; a file that is not there (any
    // more) matches, as writing it undoes nothing of another program's.
    bool targetMatches(const FileStamp& expected, FileError& error, bool& matches);
    bool write(std::string_view bytes, FileError& error);
    // On success `kept`, when given, holds the new file, for reading later what was written.
    bool commit(FileError& error, KeptFile* kept = nullptr);
    void abandon();
    // The digest of every byte written so far.
    Digest writtenDigest() const { return m_written.value(); }
    std::uint64_t writtenLength() const { return m_written.length(); }

private:
    bool openInPlace(FileError& error);
    bool putInPlace(FileError& error);

    int m_fd = -1;
    LockedFile m_target; // the old file, held so no one else takes it while it is replaced
    std::string m_targetPath;
    std::string m_tempPath;
    unsigned m_mode = 0;
    bool m_keepOwner = false; // the target existed: its owner and group carry over
    unsigned m_owner = 0;
    unsigned m_group = 0;
    bool m_inPlace = false; // m_fd is the target itself, not a temporary file
    bool m_existed = false;
    bool m_onlyIfStillAbsent = false;
    ContentDigest m_written;
};

bool writeFileAtomically(const std::string& path, std::string_view bytes, FileError& error);
// Opens without sharing and reads the whole file.
bool readWholeFile(const std::string& path, std::string& out, FileError& error);

// How a rewrite that must not undo another program's writing came out.
enum class GuardedWrite { Written, ChangedElsewhere, Failed };

// Writes the bytes over the file as writeFileAtomically() does, but only while the file, checked
// under the lock that is held through the rename, still holds what `expected` says; a file changed
// since (or created, where there was none) is left as it is, a file removed since is written again.
// After a write `expected` is the stamp of the bytes written.
GuardedWrite writeFileIfUnchanged(const std::string& path, std::string_view bytes,
                                  FileStamp& expected, FileError& error);

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
// Removing a file that does not exist succeeds.
bool removeFile(const std::string& path, FileError& error);
// Copies safely (through AtomicFileWriter); refuses an existing target with the file-exists error
// unless overwrite is set.
bool copyFile(const std::string& from, const std::string& to, bool overwrite, FileError& error);

// The folder part of a path, up to and including the last '/', or empty.
std::string folderOf(std::string_view path);
// The file name without folder.
std::string fileNameOf(std::string_view path);

} // namespace vsolo
