#pragma once

// Rewriting a transaction file that other programs write too. The tracker appends every finished
// transaction at once, vsolo-cli marks and deletes what it sent, and a time sheet holds a copy for
// as long as it is open. A rewrite is therefore based on the file as it is under the lock at the
// moment of the rename: the records another program stored, changed or removed since the copy was
// read are taken into what is written, and where that program changed or removed a record that was
// changed or removed here too, nothing is written.
//
// Records are told apart by what they hold, not by where they stand: two programs write the same
// records in different orders, and no record carries a number of its own. Each is known by the
// digest of its version-4 record bytes, which hold everything a record stores but the error mark.

#include "core/base/digest.h"
#include "core/base/fileio.h"
#include "core/base/fileresult.h"
#include "core/model/transactionformat.h"
#include "core/model/transactions.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vsolo {

Digest recordDigest(const Transaction& t);

// What a held copy of a transaction file was read from: the file itself, kept open without its lock
// so that its records stay readable after another program replaced it (not open when there was no
// file), how far the copy reaches into it (to the end of its last complete record) with the digest
// of those bytes, and the records this program appended to the file since, which its store holds
// too.
struct TransactionBase {
    std::string path;
    KeptFile file;
    TransactionLayout layout = TransactionLayout::Version4;
    std::uint64_t length = 0;
    Digest digest;
    std::vector<Digest> ownAppends;
};

// What other programs did to the file since the copy was read.
struct DiskChanges {
    // Records they stored: on disk now, beyond what the copy and this program's appends account
    // for.
    std::vector<std::unique_ptr<Transaction>> added;
    // Records of the copy they changed or removed, by digest: how many of them went, and how many
    // the copy held.
    struct Gone {
        std::size_t count = 0;
        std::size_t held = 0;
    };
    std::map<Digest, Gone> gone;
    // The file ends in a record cut short, of which a copy is to be kept before it is replaced.
    bool incompleteTail = false;

    bool none() const { return added.empty() && gone.empty(); }
};

// Compares the file as it is now, `current`, held under its lock, with the copy `base` was read
// from (nullptr when the copy was not read from this file: every record on disk is then another
// program's). No file now means no changes: the store is written as it is. A copy whose bytes were
// changed where they lay cannot be compared with: that is a conflict. `path` names the file in
// the result.
// `expected` is the layout of a file without a header.
FileResult readDiskChanges(TransactionBase* base, LockedFile* current, const std::string& path,
                           TransactionLayout expected, DiskChanges& out);

// Takes what other programs did into the store: their records added (with file stamps, the error
// marks of their days worked out again), the records they changed or removed taken out. A record
// they changed or removed that the store no longer holds as it was read (changed or removed here
// too) is a conflict: the store is left as it was and the record's digest is given back.
std::optional<Digest> takeDiskChanges(TransactionStore& store, DiskChanges& changes);

// One record of the copy with the digest, for naming it to the user.
std::optional<Transaction> findBaseRecord(TransactionBase& base, const Digest& digest);

} // namespace vsolo
