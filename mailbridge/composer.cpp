#include "mailbridge/composer.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vsolo::mail {
namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// Between fork and exec only calls that are safe in a child of a threaded process.
[[noreturn]] void runGrandchild(const std::string& program, char* const* argv, int reportFd) {
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild != 0) {
        if (grandchild < 0) {
            const int err = errno;
            [[maybe_unused]] const ssize_t n = ::write(reportFd, &err, sizeof err);
        }
        ::_exit(0);
    }
    const int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
        ::close(devNull);
    }
    ::execv(program.c_str(), argv);
    const int err = errno;
    [[maybe_unused]] const ssize_t n = ::write(reportFd, &err, sizeof err);
    ::_exit(127);
}

} // namespace

std::optional<std::string> findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        // An empty or relative entry would take programs from the current folder.
        if (folder.empty() || folder[0] != '/') {
            continue;
        }
        std::string candidate = std::string(folder) + "/" + name;
        if (isExecutableFile(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

bool startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words;
    words.push_back(program);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    // The grandchild reports a failed exec through the pipe; a successful exec closes it.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        runGrandchild(program, argv.data(), report[1]);
    }
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        return false;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &err, sizeof err);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return got == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace vsolo::mail
