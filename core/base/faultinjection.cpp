#include "core/base/faultinjection.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace vsolo::faults {

namespace {

std::atomic<bool> g_active{false};
std::array<std::atomic<unsigned>, kPointCount> g_calls{};
std::atomic<int> g_point{-1};
std::atomic<unsigned> g_nth{0};
std::atomic<int> g_error{0};
std::atomic<bool> g_fromNth{false};
std::atomic<bool> g_pausing{false};
PauseHook g_pauseHook;

// Whether this call of the point is to fail; errno is then set.
bool failsNow(Point point) {
    if (!g_active.load(std::memory_order_relaxed)) {
        return false;
    }
    const auto index = static_cast<std::size_t>(point);
    const unsigned call = g_calls[index].fetch_add(1) + 1;
    const unsigned nth = g_nth.load();
    if (g_point.load() == static_cast<int>(index) &&
        (call == nth || (g_fromNth.load() && call > nth))) {
        errno = g_error.load();
        return true;
    }
    return false;
}

void start(int point, unsigned nth, int error, bool fromNth = false) {
    g_active.store(false);
    g_fromNth.store(fromNth);
    for (auto& c : g_calls) {
        c.store(0);
    }
    g_point.store(point);
    g_nth.store(nth);
    g_error.store(error);
    g_active.store(true);
}

} // namespace

ssize_t write(int fd, const void* bytes, std::size_t size) {
    return failsNow(Point::Write) ? -1 : ::write(fd, bytes, size);
}

ssize_t overwrite(int fd, const void* bytes, std::size_t size, off_t offset) {
    return failsNow(Point::Overwrite) ? -1 : ::pwrite(fd, bytes, size, offset);
}

int flush(int fd) {
    return failsNow(Point::Flush) ? -1 : ::fsync(fd);
}

int rename(const char* from, const char* to) {
    return failsNow(Point::Rename) ? -1 : std::rename(from, to);
}

int link(const char* from, const char* to) {
    return failsNow(Point::Rename) ? -1 : ::link(from, to);
}

int flushFolder(int fd) {
    return failsNow(Point::FolderFlush) ? -1 : ::fsync(fd);
}

void count() {
    start(-1, 0, 0);
}

void arm(Point point, unsigned nth, int error) {
    start(static_cast<int>(point), nth, error);
}

void armFrom(Point point, unsigned nth, int error) {
    start(static_cast<int>(point), nth, error, true);
}

void reset() {
    start(-1, 0, 0);
    g_active.store(false);
}

unsigned calls(Point point) {
    return g_calls[static_cast<std::size_t>(point)].load();
}

void setPauseHook(PauseHook hook) {
    g_pausing.store(false);
    g_pauseHook = std::move(hook);
    g_pausing.store(static_cast<bool>(g_pauseHook));
}

void pauseAt(Step step, const std::string& path) {
    if (g_pausing.load(std::memory_order_acquire)) {
        g_pauseHook(step, path);
    }
}

} // namespace vsolo::faults
