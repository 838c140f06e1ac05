// Collecting received time sheets from a Maildir with the mail bridge's DLLUpdateRemote, as
// `vsolo-cli hub collect` does: N messages of one record each, delivered into a fresh Maildir
// before each run (not timed), collected into a new hand-off file. The time must grow linearly
// with N; the target is under a second for 10,000 messages.

#include "mailbridge/osxmapi.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A temporary home with a mail profile "Desk" over a Maildir, removed at the end.
class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "vsolo-mail-bench-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data());
        fs::create_directories(m_root / "config" / "Orvane Systems");
        ::setenv("HOME", m_root.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
        std::ofstream(m_root / "config" / "Orvane Systems" / "Mail Profiles.ini")
            << "[General]\r\nDefault=Desk\r\n\r\n[Desk]\r\nStore=maildir:" << maildir().string()
            << "\r\nTransport=sendmail:/bin/false\r\n";
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    fs::path maildir() const { return m_root / "Maildir"; }
    fs::path handoff() const { return m_root / "trans.dat"; }

    void deliver(int count) const {
        fs::remove_all(maildir());
        for (const char* sub : {"new", "cur", "tmp"})
            fs::create_directories(maildir() / sub);
        fs::remove(handoff());
        for (int i = 0; i < count; ++i) {
            const std::string name =
                std::to_string(1714953600 + i) + ".M" + std::to_string(i) + ".benchhost";
            std::ofstream(maildir() / "new" / name, std::ios::binary)
                << "From: Ann Archer <ann@example.org>\r\nTo: hub@example.org\r\n"
                   "Subject: Transaction file\r\nX-Message-Type: Transaction file\r\n"
                   "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n"
                   "Desk\x01\x01"
                   "1\x01\x01"
                   "05/06/2024||08:00||12:00||1||2||sheet\x02"
                << i << "\x01\x01";
        }
    }

private:
    fs::path m_root;
};

void BM_CollectFromMaildir(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const Scratch scratch;
    for (auto _ : state) {
        state.PauseTiming();
        scratch.deliver(count);
        state.ResumeTiming();
        if (DLLUpdateRemote(scratch.handoff().c_str(), "", "") != 1) {
            state.SkipWithError("the collection failed");
            break;
        }
        state.PauseTiming();
        // One 112-byte record a message, and the Maildir emptied.
        if (fs::file_size(scratch.handoff()) != 112u * static_cast<unsigned>(count) ||
            !fs::is_empty(scratch.maildir() / "new"))
            state.SkipWithError("not every message was collected");
        state.ResumeTiming();
    }
    state.counters["per_message"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CollectFromMaildir)
    ->Arg(250)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
