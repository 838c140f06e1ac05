#pragma once

#include "core/base/clock.h"
#include "core/base/fileresult.h"
#include "core/model/levels.h"
#include "core/model/templateformat.h"
#include "core/model/transactionformat.h"
#include "core/model/transactionmerge.h"
#include "core/model/transactions.h"

#include <optional>
#include <string>
#include <vector>

namespace vsolo {

// The files that belong to a template, all derived from its path.
struct TemplatePaths {
    // The template path with its extension (from the last '.' of the file name) replaced.
    static std::string transactionFile(std::string_view templatePath);
    static std::string sideFile(std::string_view templatePath);
    // Holds the time being tracked until it is stored (extension "rcv").
    static std::string recoveryFile(std::string_view templatePath);
    // The template's folder followed by "trans.dat" and by "log.dat".
    static std::string handOffTransactions(std::string_view templatePath);
    static std::string handOffLog(std::string_view templatePath);
    // The file name without folder and extension.
    static std::string baseName(std::string_view templatePath);
    static std::string withExtension(std::string_view path, std::string_view extension);
};

// What is added to the transaction file's name for the copy kept of a file that ends in an
// incomplete record; a number follows ("-2", "-3", ...) when an earlier copy has the name.
inline constexpr std::string_view kIncompleteTailSuffix = ".incomplete-tail";

// The template file object of the document: what was read from the template and, while a view
// needs them, its transactions. Every file operation gives its result and tells the user nothing;
// a damaged file is refused without changing anything on disk.
//
// Other programs write the same files while this object holds copies of them. A rewrite is based
// on what the file holds under its lock at the moment of the rename: the template and side file
// are written only while they still hold what was read (else the result is a conflict); the
// transaction file takes in what others stored, changed or removed since its transactions were
// loaded (see transactionmerge.h).
class TemplateFile {
public:
    explicit TemplateFile(const Clock& clock = systemClock());
    TemplateFile(const TemplateFile&) = delete;
    TemplateFile& operator=(const TemplateFile&) = delete;

    TemplateFormat format() const { return m_format; }
    void setFormat(TemplateFormat format) { m_format = format; }
    bool isTreeShape() const { return m_format == TemplateFormat::Version4; }
    // The layout a save writes: version 4, or tag 512 for every older format.
    TemplateFormat savedFormat() const {
        return isTreeShape() ? TemplateFormat::Version4 : TemplateFormat::Tag512;
    }
    bool isManaged() const { return m_managed; }
    void setManaged(bool managed) { m_managed = managed; }
    // True while the transactions of the file are held in the store.
    bool isLoaded() const { return m_loaded; }
    const std::string& typeText() const { return m_typeText; }
    void setTypeText(std::string text) { m_typeText = std::move(text); }
    const std::string& path() const { return m_path; }
    void setPath(std::string path) { m_path = std::move(path); }

    LevelList& level1() { return m_level1; }
    LevelList& level2() { return m_level2; }
    const LevelList& level1() const { return m_level1; }
    const LevelList& level2() const { return m_level2; }
    TransactionStore& store() { return m_store; }
    const TransactionStore& store() const { return m_store; }
    const Clock& clock() const { return m_store.clock(); }

    // The keys that the unsent transactions of moved level items are to get, so that their
    // recorded time goes with the items: the keys a transaction holds in the file, mapped to the
    // keys it gets. The next save of the template writes them (CSoloDoc::save); they go with the
    // lists they belong to when the template is reset.
    TransactionStore::KeyChanges& pendingKeyChanges() { return m_pendingKeyChanges; }
    const TransactionStore::KeyChanges& pendingKeyChanges() const { return m_pendingKeyChanges; }

    std::string transactionPath() const { return TemplatePaths::transactionFile(m_path); }
    std::string sidePath() const { return TemplatePaths::sideFile(m_path); }
    std::string baseName() const { return TemplatePaths::baseName(m_path); }
    TransactionLayout transactionLayout() const {
        return isTreeShape() ? TransactionLayout::Version4 : TransactionLayout::Legacy;
    }

    // Empties the lists and the store; format 512, no flags, no type text, no path.
    void reset();

    // Reads the template at the path into the (reset) object; the path itself is not changed.
    FileResult load(const std::string& path);
    // Writes format 4 in its layout and every other format in the tag-512 layout with its side
    // file.
    FileResult save(const std::string& path);
    // Turns a just-opened version-3 template into a version-4 one with re-keyed transactions and
    // writes both files. The user is to be told before that it is converted.
    FileResult convertVersion3();

    FileResult loadTransactions();
    // Absent when no transactions are held, so that nothing is written over the file. What other
    // programs did to the file since the load is taken into the store first; where they changed
    // or removed a transaction that was changed or removed here too, the result is a conflict and
    // nothing changes, in the store or on disk.
    FileResult saveTransactions();
    // Whether the last save took in records that other programs had stored, changed or removed:
    // the store then holds them, and a view showing it must be made anew.
    bool tookInOtherChanges() const { return m_tookInOtherChanges; }
    // The result of the save, when one is asked for.
    FileResult unloadTransactions(bool save);
    // The last transaction of the date in store order. Reads the store when it is loaded, else
    // scans the transaction file without loading it. Absent when the date has none.
    FileResult lastTransactionOf(TimeValue date, Transaction& out);
    FileResult createEmptyTransactionFile();
    // Appends in the layout of the file on disk, after its last complete record: bytes that follow
    // it are cut off, and when they are a record cut short the file is first kept as it was.
    // While transactions are held, the store takes the transaction too, whether or not it could be
    // appended, so that the next save keeps it and does not take it for another program's.
    FileResult appendTransaction(const Transaction& t);
    // Whether the transaction file, when it was last read, ended in a record cut short that was
    // left out and is still to be kept in a copy before the file is written.
    bool leftOutIncompleteRecord() const {
        return !m_incompleteTailOf.empty() && m_incompleteTailOf == transactionPath();
    }
    // Appends the transactions to both hand-off files, each starting with the header when empty.
    // Both files take the records or neither does.
    FileResult appendHandOff(const std::vector<const Transaction*>& transactions);

    FileResult readSideFile(const std::string& path);
    FileResult writeSideFile(const std::string& path);

private:
    // The save itself; with `mustBeUnchanged` any change another program made since the load is a
    // conflict (the conversion, which re-keys every record).
    FileResult writeTransactions(bool mustBeUnchanged);
    FileResult writeStore(AtomicFileWriter& writer, const std::string& path, KeptFile& kept);
    // Writes the template (and the side file) over files that must still hold what was read when
    // `guarded`; the stamps then describe what was written.
    struct Piece {
        std::string path;
        std::string bytes;
        FileStamp* stamp;
    };
    FileResult writePieces(std::vector<Piece> pieces, bool guarded);
    // Whether the transaction file's layout stores the transaction as it is; the refusal names
    // the path.
    FileResult storable(const Transaction& t, const std::string& path) const;
    void takeTemplate(TemplateData& data);
    // Opens the transaction file and hands a reader over it to `read`; a file that cannot be
    // opened or read, or damage the reader found, is the failure.
    // When `base` is given, it is set to what the records were read from.
    template <typename Read>
    FileResult readTransactionFile(Read read, std::optional<TransactionBase>* base = nullptr);
    // A transaction file read up to a record cut short: remembers that a copy must be kept before
    // the file is written, and gives the file to tell the user about the first time for the
    // template (else nothing).
    std::string noteIncompleteRecord(const std::string& path);
    // Keeps the bytes as the copy of a file that ends in an incomplete record, under a name not
    // yet taken.
    FileResult keepIncompleteTail(const std::string& path, std::string_view bytes);
    // Before the transaction file is rewritten: the copy of it, as it ends in an incomplete record.
    FileResult keepIncompleteTailOf(LockedFile& file, const std::string& path);
    FileResult appendToFile(const Transaction& t, const std::string& path);

    LevelList m_level1;
    LevelList m_level2;
    TransactionStore m_store;
    TemplateFormat m_format = TemplateFormat::Tag512;
    bool m_managed = false;
    bool m_loaded = false;
    std::string m_typeText;
    std::string m_path;
    // The transaction file that ended in an incomplete record when it was read, until a copy is
    // kept; and the one whose notice a result has carried, so that it is given once.
    std::string m_incompleteTailOf;
    std::string m_incompleteTailTold;
    // What the held transactions were read from, while they are held.
    std::optional<TransactionBase> m_base;
    bool m_tookInOtherChanges = false;
    TransactionStore::KeyChanges m_pendingKeyChanges;
    // What the template and its side file held when they were last read or written, and where.
    std::string m_stampPath;
    FileStamp m_templateStamp;
    FileStamp m_sideStamp;
};

} // namespace vsolo
