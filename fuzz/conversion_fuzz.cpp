// Converts version-3 (tag 768) templates and their transaction files to version 4, through real
// files in a scratch folder of the process (in memory when /dev/shm is there). The first byte says
// whether there is a transaction file; then a 16-bit length and the template, then the transaction
// file. A conversion that fails leaves both files as they were; one that succeeds leaves a
// version-4 template whose transaction file holds every transaction there was.
#include "core/base/fileio.h"
#include "core/model/templatefile.h"
#include "core/model/templateformat.h"
#include "core/model/transactionformat.h"
#include "fuzz/fuzzinput.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using namespace vsolo;
using fuzz::require;
namespace fs = std::filesystem;

const fs::path& scratchFolder() {
    static const fs::path folder = [] {
        const fs::path base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
        return base / ("vsolo-fuzz-conversion-" + std::to_string(::getpid()));
    }();
    return folder;
}

void put(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::string> contents(const std::string& path) {
    std::string bytes;
    FileError error;
    if (!readWholeFile(path, bytes, error)) {
        return std::nullopt;
    }
    return bytes;
}

// How many transactions the file holds, when it reads.
std::optional<std::size_t> transactionCount(const std::string& path, TransactionLayout layout) {
    const std::optional<std::string> bytes = contents(path);
    if (!bytes) {
        return 0;
    }
    TransactionReader reader(sourceFromBytes(*bytes), layout);
    Transaction t;
    while (reader.next(t)) {
    }
    return reader.failed() ? std::nullopt : std::optional(reader.recordsRead());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const bool withTransactions = input.byte() & 1;
    const std::string_view templateBytes = input.counted();
    const std::string_view transactionBytes = input.rest();
    if (recognizeTemplateFormat(templateBytes) != TemplateFormat::Tag768) {
        return 0;
    }

    const fs::path& folder = scratchFolder();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    const std::string path = (folder / "work.tpl").string();
    const std::string transactionPath = TemplatePaths::transactionFile(path);
    put(path, templateBytes);
    if (withTransactions) {
        put(transactionPath, transactionBytes);
    }

    TemplateFile file;
    if (!file.load(path) || file.format() != TemplateFormat::Tag768) {
        fs::remove_all(folder, ignored);
        return 0;
    }
    file.setPath(path);
    const std::optional<std::size_t> before =
        transactionCount(transactionPath, TransactionLayout::Legacy);
    const std::optional<std::string> oldTransactions = contents(transactionPath);

    if (!file.convertVersion3()) {
        require(contents(path) == std::string(templateBytes));
        require(contents(transactionPath) == oldTransactions);
    } else {
        TemplateFile converted;
        require(converted.load(path) && converted.format() == TemplateFormat::Version4);
        // A file in the version-4 layout is taken as converted already and left as it is.
        if (contents(transactionPath) != oldTransactions) {
            require(before.has_value());
            require(transactionCount(transactionPath, TransactionLayout::Version4) == before);
        }
    }
    fs::remove_all(folder, ignored);
    return 0;
}
