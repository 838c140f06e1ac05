// Converts version-3 (tag 768) templates and their transaction files to version 4, through real
// files in a scratch folder of the process (in memory when /dev/shm is there). The first byte says
// whether there is a transaction file (bit 0) and which call of the file layer fails: bits 1-2 the
// point of the fault seam, bits 3-7 the call (0 for none). Then a 16-bit length and the template,
// then the transaction file.
//
// A conversion that succeeds leaves a version-4 template whose transaction file holds every
// transaction there was. One that fails leaves the template as it was or converted, and the
// transaction file as it was or converted with every transaction; never a converted template
// beside unconverted transactions. The template held gives the keys of the transaction file on
// disk, and when only the transactions were converted the next conversion leaves them as they are.
#include "core/base/faultinjection.h"
#include "core/base/fileio.h"
#include "core/model/templatefile.h"
#include "core/model/templateformat.h"
#include "core/model/transactionformat.h"
#include "fuzz/fuzzinput.h"

#include <cerrno>
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

// Whether the bytes begin with the version-4 header's format version.
bool version4Layout(const std::optional<std::string>& bytes) {
    return bytes && bytes->size() >= 4 && bytes->compare(0, 4, std::string("\x04\0\0\0", 4)) == 0;
}

// Opens the template again and converts it, as the next start of the tracker does.
FileResult convertAgain(const std::string& path) {
    TemplateFile file;
    FileResult result = file.load(path);
    if (result) {
        file.setPath(path);
        result = file.convertVersion3();
    }
    return result;
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
    const std::uint8_t first = input.byte();
    const bool withTransactions = first & 1;
    const auto faultPoint = static_cast<faults::Point>((first >> 1) & 3);
    const unsigned faultCall = first >> 3;
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

    if (faultCall != 0) {
        faults::arm(faultPoint, faultCall, EIO);
    }
    const FileResult result = file.convertVersion3();
    faults::reset();
    if (!result) {
        const std::optional<std::string> transactionsAfter = contents(transactionPath);
        const bool transactionsKept = transactionsAfter == oldTransactions;
        const bool transactionsConverted =
            !transactionsKept && version4Layout(transactionsAfter) && before.has_value() &&
            transactionCount(transactionPath, TransactionLayout::Version4) == before;
        require(transactionsKept || transactionsConverted);
        if (contents(path) != std::string(templateBytes)) {
            TemplateFile converted;
            require(transactionsConverted || version4Layout(transactionsAfter));
            require(converted.load(path) && converted.format() == TemplateFormat::Version4);
        }
        require(file.isTreeShape() == version4Layout(transactionsAfter));
        if (transactionsConverted) {
            convertAgain(path);
            require(contents(transactionPath) == transactionsAfter);
        }
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
