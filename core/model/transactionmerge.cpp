#include "core/model/transactionmerge.h"

#include <algorithm>
#include <set>

namespace vsolo {

namespace {

constexpr std::size_t kChunk = 1 << 20;

// Bytes of the kept file up to `limit`, each also given to the digest.
ByteSource keptSource(KeptFile& file, std::uint64_t limit, ContentDigest& digest,
                      FileError& error) {
    return [&file, limit, &digest, &error,
            offset = std::uint64_t{0}](char* buffer, std::size_t capacity) mutable -> std::int64_t {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(capacity, limit - offset));
        if (want == 0) {
            return 0;
        }
        const std::int64_t n = file.readAt(offset, buffer, want, error);
        if (n > 0) {
            digest.add(buffer, static_cast<std::size_t>(n));
            offset += static_cast<std::uint64_t>(n);
        }
        return n;
    };
}

ByteSource lockedSource(LockedFile& file, FileError& error) {
    return [&file, &error](char* buffer, std::size_t capacity) {
        return file.read(buffer, capacity, error);
    };
}

FileResult readerResult(const TransactionReader& reader, const FileError& error,
                        const std::string& path) {
    if (!reader.failed()) {
        return FileResult::done();
    }
    if (reader.readError()) {
        return FileResult::fileError(error, path);
    }
    return FileResult::damaged(path, reader.detail());
}

// The digests of every record, in file order; the records themselves too when `kept` is given.
FileResult digestsOf(TransactionReader& reader, const FileError& error, const std::string& path,
                     std::vector<Digest>& out,
                     std::vector<std::unique_ptr<Transaction>>* kept = nullptr) {
    auto t = std::make_unique<Transaction>();
    while (reader.next(*t)) {
        out.push_back(recordDigest(*t));
        if (kept) {
            kept->push_back(std::move(t));
            t = std::make_unique<Transaction>();
        }
    }
    return readerResult(reader, error, path);
}

// Reads the copy's bytes again from the kept file; a copy that no longer has its digest was changed
// where it lay and cannot be compared with.
FileResult baseDigests(TransactionBase& base, std::vector<Digest>& out) {
    if (!base.file.isOpen()) {
        return FileResult::done(); // there was no file
    }
    FileError error;
    ContentDigest digest;
    TransactionReader reader(keptSource(base.file, base.length, digest, error), base.layout);
    FileResult read = digestsOf(reader, error, base.path, out);
    if (read.ok() && (digest.length() != base.length || digest.value() != base.digest)) {
        return FileResult::conflict(base.path);
    }
    return read;
}

// Reads the first `length` bytes of the file held under its lock and tells whether they have the
// digest.
bool prefixHasDigest(LockedFile& file, std::uint64_t length, const Digest& expected,
                     FileError& error, bool& same) {
    if (!file.rewind(error)) {
        return false;
    }
    std::vector<char> buffer(kChunk);
    ContentDigest digest;
    while (digest.length() < length) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - digest.length()));
        const std::int64_t n = file.read(buffer.data(), want, error);
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break; // cut shorter than the copy
        }
        digest.add(buffer.data(), static_cast<std::size_t>(n));
    }
    same = digest.length() == length && digest.value() == expected;
    return true;
}

// The records on disk that the copy does not account for (`addedAt`, by their place on disk) and
// the copy's records that are not on disk any more (`gone`). Both lists are multisets: a record
// held twice counts twice.
void compareCounts(std::vector<Digest> base, const std::vector<Digest>& disk,
                   std::map<Digest, DiskChanges::Gone>& gone, std::vector<bool>& addedAt) {
    std::sort(base.begin(), base.end());
    std::vector<std::size_t> order(disk.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&disk](std::size_t a, std::size_t b) { return disk[a] < disk[b]; });
    addedAt.assign(disk.size(), false);
    std::size_t b = 0;
    std::size_t d = 0;
    while (b < base.size() || d < order.size()) {
        const Digest& value = d == order.size() || (b < base.size() && base[b] < disk[order[d]])
                                  ? base[b]
                                  : disk[order[d]];
        std::size_t held = 0;
        for (; b < base.size() && base[b] == value; ++b) {
            ++held;
        }
        std::size_t onDisk = 0;
        for (; d < order.size() && disk[order[d]] == value; ++d) {
            // Those on disk beyond what the copy held are new: the later ones in the file.
            if (++onDisk > held) {
                addedAt[order[d]] = true;
            }
        }
        if (held > onDisk) {
            gone[value] = {held - onDisk, held};
        }
    }
}

} // namespace

Digest recordDigest(const Transaction& t) {
    std::string bytes;
    bytes.reserve(48 + t.description().size());
    appendVersion4Record(bytes, t);
    return ContentDigest::of(bytes);
}

FileResult readDiskChanges(TransactionBase* base, LockedFile* current, const std::string& path,
                           TransactionLayout expected, DiskChanges& out) {
    out = {};
    if (!current) {
        return FileResult::done();
    }
    std::vector<Digest> held;
    if (base) {
        held = base->ownAppends;
    }
    std::vector<Digest> disk;
    std::vector<std::unique_ptr<Transaction>> diskRecords;
    FileError error;
    bool keptInMemory = false;
    if (base && base->file.isOpen() && current->identity() == base->file.identity()) {
        // The same file: other programs can only have appended to it, provided the bytes the copy
        // was read from are still there as they were.
        bool same = false;
        if (!prefixHasDigest(*current, base->length, base->digest, error, same)) {
            return FileResult::fileError(error, path);
        }
        if (!same) {
            return FileResult::conflict(path);
        }
        // An empty file may have been given its header since.
        TransactionReader reader =
            base->length == 0
                ? TransactionReader(lockedSource(*current, error), base->layout)
                : TransactionReader::ofRecords(lockedSource(*current, error), base->layout);
        if (FileResult read = digestsOf(reader, error, path, disk, &diskRecords); !read) {
            return read;
        }
        out.incompleteTail = reader.incompleteRecord();
        keptInMemory = true;
    } else {
        if (base) {
            if (FileResult read = baseDigests(*base, held); !read) {
                return read;
            }
        }
        if (!current->rewind(error)) {
            return FileResult::fileError(error, path);
        }
        TransactionReader reader(lockedSource(*current, error), expected);
        if (FileResult read = digestsOf(reader, error, path, disk); !read) {
            return read;
        }
        out.incompleteTail = reader.incompleteRecord();
    }
    std::vector<bool> addedAt;
    compareCounts(std::move(held), disk, out.gone, addedAt);
    if (std::find(addedAt.begin(), addedAt.end(), true) == addedAt.end()) {
        return FileResult::done();
    }
    if (keptInMemory) {
        for (std::size_t i = 0; i < diskRecords.size(); ++i) {
            if (addedAt[i]) {
                out.added.push_back(std::move(diskRecords[i]));
            }
        }
        return FileResult::done();
    }
    // A second pass for the few records that are new, so that the file is not held in memory.
    if (!current->rewind(error)) {
        return FileResult::fileError(error, path);
    }
    TransactionReader reader(lockedSource(*current, error), expected);
    auto t = std::make_unique<Transaction>();
    for (std::size_t i = 0; reader.next(*t); ++i) {
        if (i < addedAt.size() && addedAt[i]) {
            out.added.push_back(std::move(t));
            t = std::make_unique<Transaction>();
        }
    }
    return readerResult(reader, error, path);
}

std::optional<Digest> takeDiskChanges(TransactionStore& store, DiskChanges& changes) {
    std::map<Digest, std::vector<const Transaction*>> found;
    if (!changes.gone.empty()) {
        for (const Day& day : store.days()) {
            for (const Transaction& t : day.transactions()) {
                const Digest digest = recordDigest(t);
                if (changes.gone.count(digest) != 0) {
                    found[digest].push_back(&t);
                }
            }
        }
        for (const auto& [digest, gone] : changes.gone) {
            // Fewer than the copy held: this program changed or removed one of them too.
            if (found[digest].size() < gone.held) {
                return digest;
            }
        }
    }
    std::set<std::int32_t> touched;
    for (const auto& [digest, gone] : changes.gone) {
        const std::vector<const Transaction*>& stored = found[digest];
        for (std::size_t i = 0; i < gone.count; ++i) {
            touched.insert(stored[i]->date().seconds());
            store.removeAndDestroy(stored[i]);
        }
    }
    for (std::unique_ptr<Transaction>& t : changes.added) {
        const Day* day = store.findDay(t->date());
        t->initStamp(day ? day->freeStampFromDate() : t->date().seconds());
        touched.insert(t->date().seconds());
        store.add(std::move(t));
    }
    changes.added.clear();
    for (std::int32_t date : touched) {
        if (Day* day = store.findDay(TimeValue(date))) {
            day->markErrors();
        }
    }
    return std::nullopt;
}

std::optional<Transaction> findBaseRecord(TransactionBase& base, const Digest& digest) {
    if (!base.file.isOpen()) {
        return std::nullopt;
    }
    FileError error;
    ContentDigest ignored;
    TransactionReader reader(keptSource(base.file, base.length, ignored, error), base.layout);
    Transaction t;
    while (reader.next(t)) {
        if (recordDigest(t) == digest) {
            return t;
        }
    }
    return std::nullopt;
}

} // namespace vsolo
