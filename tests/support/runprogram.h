#pragma once

// Runs a built program of the project as a child process, its output caught in files, for the
// tests that check a program's exact output and exit code.

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vsolo::testing {

struct ProgramRun {
    int exitCode = -1; // 128 + the signal when a signal ended it
    std::string out;
    std::string err;
};

struct RunOptions {
    // Caps the size of every file the program writes; a write past it fails (0: no cap).
    rlim_t fileSizeLimit = 0;
    // Variables set (a value) or removed (none) in the program's environment.
    std::vector<std::pair<std::string, std::optional<std::string>>> environment;
};

// Runs program with args; its standard output and error go through two files in scratchDir.
inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::string& scratchDir, const RunOptions& options = {}) {
    const std::string outPath = scratchDir + "/.stdout";
    const std::string errPath = scratchDir + "/.stderr";
    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (options.fileSizeLimit > 0) {
            const rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
            ::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails instead
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        for (const auto& [name, value] : options.environment) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    const auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    };
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = slurp(outPath);
    run.err = slurp(errPath);
    return run;
}

} // namespace vsolo::testing
