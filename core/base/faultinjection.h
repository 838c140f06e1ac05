#pragma once

#include <cstddef>
#include <sys/types.h>

// The system calls through which files are written, flushed and renamed. Tests make one of them
// fail on purpose to prove that a failed write keeps the old file and is reported; without that
// the calls go straight to the system at the cost of one relaxed atomic load.
namespace vsolo::faults {

enum class Point { Write, Flush, Rename, FolderFlush };
inline constexpr std::size_t kPointCount = 4;

ssize_t write(int fd, const void* bytes, std::size_t size);
// fsync of a file.
int flush(int fd);
int rename(const char* from, const char* to);
// fsync of an open folder.
int flushFolder(int fd);

// For tests. The state is process-wide.
// Starts counting the calls of every point from zero, with none failing.
void count();
// Starts counting from zero; the `nth` call (from 1) of `point` fails with `error`, without
// reaching the system, and every other call goes through.
void arm(Point point, unsigned nth, int error);
// Stops counting and failing.
void reset();
// How many calls of the point were made since count() or arm().
unsigned calls(Point point);

} // namespace vsolo::faults
