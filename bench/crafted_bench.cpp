// Loading files made to be slow: each load must stay linear or n log n in the size of the file.
// - a legacy template of about 5 MB: 20,000 level-1 and 20,000 level-2 items with distinct names
//   and 200,000 assignment pairs, loaded and then converted as a version-3 template;
// - a transaction file of 100,000 records of one day, written latest first.
// Each file is made once in a temporary folder and read from a warm file cache.

#include "core/model/templatefile.h"
#include "core/model/transactionformat.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>

namespace {

using namespace vsolo;

constexpr int kLevel1Items = 20'000;
constexpr int kLevel2Items = 20'000;
constexpr int kPairs = 200'000;
constexpr int kRecordsOfOneDay = 100'000;

void appendI32(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

void appendFixed(std::string& out, const std::string& text, std::size_t size) {
    out.append(text);
    out.append(size - text.size(), '\0');
}

// The legacy layout with the tag 768 in its first four bytes.
std::string legacyTemplate() {
    std::string out;
    out.push_back('\0');
    appendFixed(out, std::string(1, '\x03'), 61);
    appendI32(out, kLevel1Items);
    appendI32(out, kLevel2Items);
    for (int i = 0; i < kLevel1Items; ++i) {
        appendI32(out, 1 + i);
        appendFixed(out, "Project " + std::to_string(i), 21);
        appendFixed(out, "", 61);
        out.push_back('\0');
    }
    for (int i = 0; i < kLevel2Items; ++i) {
        appendI32(out, 1 + i);
        appendFixed(out, "Activity " + std::to_string(i), 21);
        appendFixed(out, "", 61);
    }
    // Ten items under each project, the runs of one project together.
    for (int i = 0; i < kPairs; ++i) {
        appendI32(out, 1 + (i / 10) % kLevel1Items);
        appendI32(out, 1 + (i * 7919) % kLevel2Items);
    }
    return out;
}

// One day's records from 23:59 down to 00:00, over and over.
std::string descendingDay() {
    std::string out = transactionFileHeader();
    TimeValue day;
    day.setDate(2024, 3, 15);
    for (int i = 0; i < kRecordsOfOneDay; ++i) {
        const int minute = 1439 - i % 1440;
        // Appended: a literal put in front of a temporary trips GCC 12's -Wrestrict.
        std::string description = "r";
        description += std::to_string(i);
        appendVersion4Record(out, Transaction(day, TimeValue(minute * TimeValue::kMinute),
                                              TimeValue(minute * TimeValue::kMinute + 30), 1, 1,
                                              std::move(description)));
    }
    return out;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Fixture {
    std::string folder;
    std::string legacyPath;
    std::string legacyBytes;
    std::string dayPath;
    long legacySize = 0;
    long daySize = 0;

    Fixture() {
        char pattern[] = "/tmp/vsolo-bench-XXXXXX";
        folder = ::mkdtemp(pattern);
        legacyPath = folder + "/legacy.tpl";
        legacyBytes = legacyTemplate();
        writeFile(legacyPath, legacyBytes);
        legacySize = static_cast<long>(legacyBytes.size());
        dayPath = folder + "/day.tpl";
        const std::string day = descendingDay();
        writeFile(dayPath, std::string());
        writeFile(folder + "/day.trs", day);
        daySize = static_cast<long>(day.size());
    }

    ~Fixture() {
        for (const char* name : {"/legacy.tpl", "/legacy.trs", "/day.tpl", "/day.trs"}) {
            std::remove((folder + name).c_str());
        }
        ::rmdir(folder.c_str());
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_LoadCraftedLegacyTemplate(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        TemplateFile file;
        file.setPath(f.legacyPath);
        if (!file.load(f.legacyPath) ||
            file.level1().size() != static_cast<std::size_t>(kLevel1Items)) {
            state.SkipWithError("the template did not load whole");
        }
    }
    state.counters["file_MB"] = static_cast<double>(f.legacySize) / 1e6;
}
BENCHMARK(BM_LoadCraftedLegacyTemplate)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ConvertCraftedLegacyTemplate(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(f.legacyPath, f.legacyBytes);
        std::remove((f.folder + "/legacy.trs").c_str());
        TemplateFile file;
        file.setPath(f.legacyPath);
        file.load(f.legacyPath);
        state.ResumeTiming();
        if (!file.convertVersion3()) {
            state.SkipWithError("the conversion failed");
        }
    }
    state.counters["file_MB"] = static_cast<double>(f.legacySize) / 1e6;
}
BENCHMARK(BM_ConvertCraftedLegacyTemplate)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadOneDayLatestFirst(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        TemplateFile file;
        file.setPath(f.dayPath);
        file.load(f.dayPath);
        state.ResumeTiming();
        if (!file.loadTransactions() ||
            file.store().count() != static_cast<std::size_t>(kRecordsOfOneDay)) {
            state.SkipWithError("the file did not load whole");
        }
    }
    state.counters["file_MB"] = static_cast<double>(f.daySize) / 1e6;
}
BENCHMARK(BM_LoadOneDayLatestFirst)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
