#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>

// The system calls through which files are written, flushed and renamed. Tests make one of them
// fail on purpose to prove that a failed write keeps the old file and is reported; without that
// the calls go straight to the system at the cost of one relaxed atomic load.
namespace vsolo::faults {

// Overwrite is a write over bytes a file already holds on disk, which takes no new space: a full
// disk refuses every Write but still takes an Overwrite.
enum class Point { Write, Flush, Rename, FolderFlush, Overwrite };
inline constexpr std::size_t kPointCount = 5;

ssize_t write(int fd, const void* bytes, std::size_t size);
// pwrite() at `offset`.
ssize_t overwrite(int fd, const void* bytes, std::size_t size, off_t offset);
// fsync of a file.
int flush(int fd);
int rename(const char* from, const char* to);
// link(), which puts a new file in place only while the name is free; it counts as a rename.
int link(const char* from, const char* to);
// fsync of an open folder.
int flushFolder(int fd);

// For tests. The state is process-wide.
// Starts counting the calls of every point from zero, with none failing.
void count();
// Starts counting from zero; the `nth` call (from 1) of `point` fails with `error`, without
// reaching the system, and every other call goes through.
void arm(Point point, unsigned nth, int error);
// As arm(), but the nth call and every later one fail, until the next count(), arm() or reset():
// a disk that stays full until space is made.
void armFrom(Point point, unsigned nth, int error);
// Stops counting and failing.
void reset();
// How many calls of the point were made since count() or arm().
unsigned calls(Point point);

// Moments at which a test may hold a reader or writer up and let another program act on the same
// file, so that every interleaving of the programs that share a file can be brought about on cue.
enum class Step {
    // A file is open but not yet locked (LockedFile::open).
    OpenedBeforeLock,
    // The lock is held by another process; the opener starts to wait (once per open).
    LockBusy,
    // A program has read the transactions it will later rewrite the file from.
    TransactionsLoaded,
    // A send has handed the time sheet over and is about to mark or delete the sent days.
    HandedOver,
    // A rewrite has its new file ready and flushed, and still holds the lock on the old one.
    BeforeRename,
};
using PauseHook = std::function<void(Step step, const std::string& path)>;
// Called at every step with the file concerned, from the thread that reaches it; an empty hook
// turns the steps off. Set it before the work it watches starts.
void setPauseHook(PauseHook hook);
void pauseAt(Step step, const std::string& path);

} // namespace vsolo::faults
