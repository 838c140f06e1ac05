#pragma once

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

    // The number shown to the user.
    int number() const { return code != 0 ? code : osError; }
    static FileError fromErrno(int err, const std::string& path);
};

// A file opened without sharing: an exclusive advisory lock is taken on the open file, so a file
// that another process holds gives the sharing violation. Closed when destroyed.
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
    std::int64_t size() const;
    // Reads up to `capacity` bytes from the current position; 0 at the end. -1 on failure.
    std::int64_t read(char* buffer, std::size_t capacity, FileError& error);
    bool readAll(std::string& out, FileError& error);
    // Moves the position back to the start of the file, for reading it again.
    bool rewind(FileError& error);
    // Writes the bytes at the end of the file and flushes them to disk before reporting success;
    // the first append to a file that open() created flushes its folder too. A failed append cuts
    // the file back to its old length, so no half record is left behind.
    bool appendDurably(std::string_view bytes, FileError& error);
    // Cuts the file back to `length` bytes and flushes that to disk.
    bool truncate(std::int64_t length, FileError& error);
    void close();

private:
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

    bool begin(const std::string& path, FileError& error);
    bool write(std::string_view bytes, FileError& error);
    bool commit(FileError& error);
    void abandon();

private:
    bool openInPlace(FileError& error);

    int m_fd = -1;
    LockedFile m_target; // the old file, held so no one else takes it while it is replaced
    std::string m_targetPath;
    std::string m_tempPath;
    unsigned m_mode = 0;
    bool m_keepOwner = false; // the target existed: its owner and group carry over
    unsigned m_owner = 0;
    unsigned m_group = 0;
    bool m_inPlace = false; // m_fd is the target itself, not a temporary file
};

bool writeFileAtomically(const std::string& path, std::string_view bytes, FileError& error);
// Opens without sharing and reads the whole file.
bool readWholeFile(const std::string& path, std::string& out, FileError& error);

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
