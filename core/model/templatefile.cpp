#include "core/model/templatefile.h"

#include "core/base/bytes.h"
#include "core/base/faultinjection.h"
#include "core/base/fileio.h"
#include "core/base/placeholders.h"

#include <map>

namespace vsolo {

namespace {

constexpr std::size_t kWriteChunk = 1 << 20;
// Copies of files with an incomplete record are numbered up to this.
constexpr int kIncompleteTailCopies = 100;
// More than the bytes of any record: what the digest of a file read to its end holds back, in case
// they turn out to be a record cut short.
constexpr std::size_t kLongestTail = 4096;
// How often a save starts again because another program created the file it was about to create.
constexpr int kCreateRounds = 3;

// The position of the extension's dot in the file-name part of a path, or npos.
std::size_t extensionDot(std::string_view path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::string_view::npos;
    }
    return dot;
}

// Whether the file begins with the version-4 transaction file header's format version; a legacy
// record begins with its date text instead.
bool startsAsVersion4(const std::string& path) {
    FileError error;
    LockedFile file = LockedFile::open(path, LockedFile::Mode::Read, error);
    char head[4] = {};
    return file.isOpen() && file.read(head, sizeof head, error) == 4 && loadI32(head) == 4;
}

} // namespace

std::string TemplatePaths::withExtension(std::string_view path, std::string_view extension) {
    const auto dot = extensionDot(path);
    return std::string(path.substr(0, dot)) + "." + std::string(extension);
}

std::string TemplatePaths::transactionFile(std::string_view templatePath) {
    return withExtension(templatePath, "trs");
}

std::string TemplatePaths::sideFile(std::string_view templatePath) {
    return withExtension(templatePath, "tlx");
}

std::string TemplatePaths::recoveryFile(std::string_view templatePath) {
    return withExtension(templatePath, "rcv");
}

std::string TemplatePaths::handOffTransactions(std::string_view templatePath) {
    return folderOf(templatePath) + "trans.dat";
}

std::string TemplatePaths::handOffLog(std::string_view templatePath) {
    return folderOf(templatePath) + "log.dat";
}

std::string TemplatePaths::baseName(std::string_view templatePath) {
    std::string name = fileNameOf(templatePath);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

TemplateFile::TemplateFile(const Clock& clock)
    : m_level1(1, clock), m_level2(2, clock), m_store(clock) {
    m_level1.setPartner(&m_level2);
}

FileResult TemplateFile::storable(const Transaction& t, const std::string& path) const {
    if (const auto problem = unstorableTransactionText(transactionLayout(), t)) {
        return FileResult::unstorable(path, *problem);
    }
    return FileResult::done();
}

void TemplateFile::reset() {
    m_level1.clear();
    m_level2.clear();
    m_store.clear();
    m_store.setNextGroupNumber(1);
    m_store.setNextSubId(1);
    m_format = TemplateFormat::Tag512;
    m_managed = false;
    m_loaded = false;
    m_typeText.clear();
    m_path.clear();
    m_incompleteTailOf.clear();
    m_incompleteTailTold.clear();
    m_base.reset();
    m_tookInOtherChanges = false;
    m_pendingKeyChanges.clear();
    m_stampPath.clear();
    m_templateStamp = {};
    m_sideStamp = {};
}

void TemplateFile::takeTemplate(TemplateData& data) {
    m_format = data.format;
    m_managed = data.managed;
    m_typeText = data.typeText;
    m_store.setNextGroupNumber(data.nextGroupNumber);
    m_store.setNextSubId(data.nextSubId);
    if (data.format == TemplateFormat::Version4) {
        for (LevelItem& item : data.level1) {
            m_level1.add(std::make_unique<LevelItem>(std::move(item)));
        }
        for (LevelItem& item : data.level2) {
            m_level2.add(std::make_unique<LevelItem>(std::move(item)));
        }
        return;
    }
    // Legacy lists keep one item per name; a repeated name is dropped with its record.
    for (const LevelItem& item : data.level1) {
        m_level1.addUnique(item);
    }
    for (const LevelItem& item : data.level2) {
        m_level2.addUnique(item);
    }
    LevelItem* owner = nullptr;
    std::int32_t ownerSubId = 0;
    bool haveRun = false;
    AssignmentBatch batch;
    for (const auto& [level1SubId, level2SubId] : data.assignments) {
        if (!haveRun || level1SubId != ownerSubId) {
            owner = m_level1.findBySubId(level1SubId);
            ownerSubId = level1SubId;
            haveRun = true;
        }
        if (owner) {
            batch.assign(*owner, m_level2.findBySubId(level2SubId));
        }
    }
}

FileResult TemplateFile::load(const std::string& path) {
    std::string bytes;
    FileError error;
    if (!readWholeFile(path, bytes, error)) {
        return FileResult::fileError(error, path);
    }
    TemplateData data;
    const ParseResult parsed = parseTemplate(bytes, data);
    if (!parsed.ok) {
        return FileResult::damaged(path, parsed.detail);
    }
    takeTemplate(data);
    m_stampPath = path;
    m_templateStamp = FileStamp::of(bytes);
    m_sideStamp = {};
    if (m_format == TemplateFormat::Tag512 && fileExists(TemplatePaths::sideFile(path))) {
        FileResult side = readSideFile(TemplatePaths::sideFile(path));
        if (!side) {
            m_level1.clear();
            m_level2.clear();
        }
        return side;
    }
    return FileResult::done();
}

FileResult TemplateFile::save(const std::string& path) {
    // The layout written is version 4 or tag 512; whatever cannot be stored in it is refused
    // before anything is written, rather than cut or written where the reader would refuse it.
    if (const auto problem = unstorableTemplateText(savedFormat(), m_level1, m_level2)) {
        return FileResult::unstorable(path, *problem);
    }
    // Over the file that was read, the files must still hold what was read; Save As to another
    // file replaces whatever is there.
    const bool guarded = path == m_stampPath;
    if (isTreeShape()) {
        return writePieces({{path,
                             serializeTemplateVersion4(m_typeText, m_store.nextGroupNumber(),
                                                       m_store.nextSubId(), m_level1, m_level2),
                             &m_templateStamp}},
                           guarded);
    }
    // A tag-512 file is known by its first four bytes: the value 512 (flag byte 0 and the header
    // text "\x02") or, when managed, the letters "ATra" (flag byte 'A', header text from "Tra").
    // Anything else would read back as a version-3 template and be converted.
    const std::uint8_t flag = m_managed ? 'A' : 0;
    const std::string header =
        m_managed ? (m_typeText.rfind("Tra", 0) == 0 ? m_typeText : std::string("Tra"))
                  : std::string("\x02");
    return writePieces(
        {{path, serializeTemplateTag512(flag, header, m_level1, m_level2), &m_templateStamp},
         {TemplatePaths::sideFile(path), serializeSideFile(m_level1), &m_sideStamp}},
        guarded);
}

FileResult TemplateFile::writePieces(std::vector<Piece> pieces, bool guarded) {
    // Every file is held and checked before any is written, so that the template and its side
    // file are both written or neither is for a change made elsewhere.
    std::vector<AtomicFileWriter> writers(pieces.size());
    FileError error;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!writers[i].begin(pieces[i].path, error, guarded)) {
            return FileResult::fileError(error, pieces[i].path);
        }
        bool matches = true;
        if (guarded && !writers[i].targetMatches(*pieces[i].stamp, error, matches)) {
            return FileResult::fileError(error, pieces[i].path);
        }
        if (!matches) {
            return FileResult::conflict(pieces[i].path);
        }
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!writers[i].write(pieces[i].bytes, error) || !writers[i].commit(error)) {
            if (guarded && error.code == FileError::kFileExists) {
                return FileResult::conflict(pieces[i].path); // created elsewhere meanwhile
            }
            return FileResult::fileError(error, pieces[i].path);
        }
        *pieces[i].stamp = FileStamp::of(pieces[i].bytes);
    }
    m_stampPath = pieces.front().path;
    return FileResult::done();
}

FileResult TemplateFile::readSideFile(const std::string& path) {
    std::string bytes;
    FileError error;
    if (!readWholeFile(path, bytes, error)) {
        return FileResult::fileError(error, path);
    }
    std::vector<SideEntry> entries;
    const ParseResult parsed = parseSideFile(bytes, entries);
    if (!parsed.ok) {
        return FileResult::damaged(path, parsed.detail);
    }
    m_sideStamp = FileStamp::of(bytes);
    AssignmentBatch batch;
    for (const SideEntry& entry : entries) {
        LevelItem* item = m_level1.findBySubId(entry.level1SubId);
        if (!item) {
            continue;
        }
        item->setTarget(entry.target > 100 ? 100 : entry.target);
        item->setActive(entry.active);
        batch.clear(*item);
        for (std::int32_t subId : entry.assigned) {
            batch.assign(*item, m_level2.findBySubId(subId));
        }
    }
    return FileResult::done();
}

FileResult TemplateFile::writeSideFile(const std::string& path) {
    const std::string bytes = serializeSideFile(m_level1);
    FileError error;
    if (!writeFileAtomically(path, bytes, error)) {
        return FileResult::fileError(error, path);
    }
    m_sideStamp = FileStamp::of(bytes);
    return FileResult::done();
}

FileResult TemplateFile::convertVersion3() {
    const std::int32_t oldNextGroupNumber = m_store.nextGroupNumber();
    const std::int32_t oldNextSubId = m_store.nextSubId();
    m_store.setNextGroupNumber(1);
    m_store.setNextSubId(1);
    m_store.clear();
    m_loaded = false;
    // A transaction file that is already in the version-4 layout was converted by an earlier
    // attempt that could not write the template; its keys are the new ones already.
    const bool alreadyConverted = startsAsVersion4(transactionPath());
    // A missing transaction file was reported when the template was opened; the converted
    // template starts an empty one. One that is converted already is left as it is.
    // What the read has to tell goes with the result of the whole conversion.
    std::string incompleteRecordFile;
    if (!alreadyConverted && fileExists(transactionPath())) {
        FileResult read = loadTransactions();
        if (!read) {
            m_store.setNextGroupNumber(oldNextGroupNumber);
            m_store.setNextSubId(oldNextSubId);
            return read; // a transaction file that cannot be read is never overwritten
        }
        incompleteRecordFile = std::move(read.incompleteRecordFile);
    }
    const auto withNotice = [&incompleteRecordFile](FileResult result) {
        result.incompleteRecordFile = std::move(incompleteRecordFile);
        return result;
    };
    // The template as it was, put back when the transaction file cannot be written: the legacy
    // records stay on disk, and the tracker goes on appending to them, so the template must go on
    // giving the legacy keys and layout.
    LevelList oldLevel1(1, clock()), oldLevel2(2, clock());
    oldLevel1.setPartner(&oldLevel2);
    oldLevel2.copyFrom(m_level2);
    oldLevel1.copyFrom(m_level1);
    const std::string oldTypeText = m_typeText;

    std::map<TransactionStore::KeyPair, TransactionStore::KeyPair> newKeys;
    for (const auto& owned : m_level1.items()) {
        LevelItem& project = *owned;
        const std::int32_t oldSubId = project.subId();
        project.setSubId(0);
        project.setParentSubId(0);
        project.setDepth(0);
        project.setGroupNumber(m_store.takeGroupNumber());
        for (const LevelItem* assigned : project.assigned()) {
            LevelItem child;
            child.setGroupNumber(project.groupNumber());
            child.setSubId(m_store.takeSubId());
            child.setTarget(assigned->target());
            child.setName(assigned->name());
            child.setDescription(assigned->description());
            child.setActive(assigned->isActive());
            child.setParentSubId(0);
            child.setDepth(1);
            child.setThirdText("");
            newKeys.try_emplace({oldSubId, assigned->subId()}, project.groupNumber(),
                                child.subId());
            m_level2.add(child);
        }
    }
    if (!alreadyConverted) {
        m_store.rekey(newKeys);
    }
    m_level2.removeWhere([](const LevelItem& item) { return item.groupNumber() == 0; });
    m_format = TemplateFormat::Version4;
    m_typeText = std::string(kTrackerTypeText);
    // A file in the version-4 layout has the new keys already and is not written again: no
    // failure can then take the template back to the legacy layout while its file holds version-4
    // records. Any other file is written even when it held no transaction.
    m_loaded = !alreadyConverted;
    // Every record is re-keyed, so a record another program stored meanwhile, under the old keys,
    // could not be taken in: any change made elsewhere since the load stops the conversion.
    FileResult written = alreadyConverted ? FileResult::done() : writeTransactions(true);
    // A write that failed only after its rename (the folder could not be flushed) has put the
    // version-4 records in place: the template must then give the new keys, as below.
    if (!written && !startsAsVersion4(transactionPath())) {
        m_level2.copyFrom(oldLevel2);
        m_level1.copyFrom(oldLevel1);
        m_format = TemplateFormat::Tag768;
        m_typeText = oldTypeText;
        m_store.setNextGroupNumber(oldNextGroupNumber);
        m_store.setNextSubId(oldNextSubId);
        m_store.clear();
        m_loaded = false;
        m_base.reset();
        return withNotice(std::move(written));
    }
    // From here the transaction file has the new keys; a template that cannot be written stays
    // a version-3 file on disk and is converted again, without re-keying, when it is next opened.
    // The template's failure is the one told; else the transaction file's, when it had one.
    FileResult saved = save(m_path);
    m_store.clear();
    m_loaded = false;
    m_base.reset();
    return withNotice(saved ? std::move(written) : std::move(saved));
}

template <typename Read>
FileResult TemplateFile::readTransactionFile(Read read, std::optional<TransactionBase>* base) {
    const std::string path = transactionPath();
    FileError error;
    LockedFile file = LockedFile::open(path, LockedFile::Mode::Read, error);
    if (!file.isOpen()) {
        return FileResult::fileError(error, path);
    }
    // The copy's digest leaves out a record cut short at the end, which is no part of it.
    TrailingDigest digest(kLongestTail);
    TransactionReader reader(
        [&file, &error, &digest, base](char* buffer, std::size_t capacity) {
            const std::int64_t n = file.read(buffer, capacity, error);
            if (base && n > 0) {
                digest.add(buffer, static_cast<std::size_t>(n));
            }
            return n;
        },
        transactionLayout());
    read(reader);
    if (!reader.failed()) {
        FileResult result = FileResult::done();
        if (reader.incompleteRecord()) {
            result.incompleteRecordFile = noteIncompleteRecord(path);
        }
        Digest value;
        if (base && digest.finish(reader.completeBytes(), value)) {
            *base = TransactionBase{
                path, file.unlockAndKeep(), reader.layout(), reader.completeBytes(), value, {}};
        }
        return result;
    }
    if (reader.readError()) {
        return FileResult::fileError(error, path);
    }
    return FileResult::damaged(path, reader.detail());
}

std::string TemplateFile::noteIncompleteRecord(const std::string& path) {
    m_incompleteTailOf = path;
    if (m_incompleteTailTold == path) {
        return {};
    }
    m_incompleteTailTold = path;
    return path;
}

FileResult TemplateFile::keepIncompleteTail(const std::string& path, std::string_view bytes) {
    for (int i = 1; i <= kIncompleteTailCopies; ++i) {
        // Appended piece by piece: "-" put in front of a temporary trips GCC 12's -Wrestrict.
        std::string copy = path + std::string(kIncompleteTailSuffix);
        if (i > 1) {
            copy += '-';
            copy += std::to_string(i);
        }
        // An earlier copy is never replaced: it may hold another record cut short.
        if (fileExists(copy)) {
            continue;
        }
        FileError error;
        if (!writeFileAtomically(copy, bytes, error)) {
            return FileResult::fileError(error, copy);
        }
        m_incompleteTailOf.clear();
        return FileResult::done();
    }
    FileError error;
    error.code = FileError::kFileExists;
    return FileResult::fileError(error, path + std::string(kIncompleteTailSuffix));
}

FileResult TemplateFile::keepIncompleteTailOf(LockedFile& file, const std::string& path) {
    std::string bytes;
    FileError error;
    if (!file.rewind(error) || !file.readAll(bytes, error)) {
        return FileResult::fileError(error, path);
    }
    return keepIncompleteTail(path, bytes);
}

FileResult TemplateFile::loadTransactions() {
    if (!m_store.empty()) {
        return FileResult::done();
    }
    const bool fileStamps = m_format != TemplateFormat::Tag768;
    m_base.reset();
    FileResult read = readTransactionFile(
        [&](TransactionReader& reader) { readTransactionsInto(reader, m_store, fileStamps); },
        &m_base);
    if (!read) {
        m_store.clear();
        m_base.reset();
        return read;
    }
    m_loaded = true;
    faults::pauseAt(faults::Step::TransactionsLoaded, transactionPath());
    return read;
}

FileResult TemplateFile::saveTransactions() {
    return writeTransactions(false);
}

FileResult TemplateFile::writeTransactions(bool mustBeUnchanged) {
    m_tookInOtherChanges = false;
    if (m_store.empty() && !m_loaded) {
        return FileResult::absent();
    }
    const std::string path = transactionPath();
    for (const Day& day : m_store.days()) {
        for (const Transaction& t : day.transactions()) {
            if (FileResult refused = storable(t, path); !refused) {
                return refused;
            }
        }
    }
    TransactionBase* base = m_base && m_base->path == path ? &*m_base : nullptr;
    const TransactionLayout expected = base ? base->layout : transactionLayout();
    for (int round = 1;; ++round) {
        FileError error;
        AtomicFileWriter writer;
        if (!writer.begin(path, error, /*onlyIfStillAbsent=*/true)) {
            return FileResult::fileError(error, path);
        }
        DiskChanges changes;
        if (FileResult read = readDiskChanges(base, writer.target(), path, expected, changes);
            !read) {
            return read;
        }
        if (!changes.none()) {
            if (mustBeUnchanged) {
                return FileResult::conflict(path);
            }
            if (const std::optional<Digest> clash = takeDiskChanges(m_store, changes)) {
                std::optional<Transaction> t = base ? findBaseRecord(*base, *clash) : std::nullopt;
                return FileResult::conflict(
                    path, t ? fillPlaceholders(tx(kTransactionLabelText),
                                               {t->date().shortDate(), t->start().clockTimeNoPad(),
                                                t->end().clockTimeNoPad()})
                            : std::string());
            }
            m_tookInOtherChanges = true;
        }
        if (changes.incompleteTail) {
            if (FileResult kept = keepIncompleteTailOf(*writer.target(), path); !kept) {
                return kept;
            }
        } else if (m_incompleteTailOf == path) {
            m_incompleteTailOf.clear(); // the file was written meanwhile
        }
        KeptFile kept;
        FileResult written = writeStore(writer, path, kept);
        if (kept.isOpen()) {
            // In place, even when its folder could not be flushed after the rename.
            m_base = TransactionBase{path,
                                     std::move(kept),
                                     transactionLayout(),
                                     writer.writtenLength(),
                                     writer.writtenDigest(),
                                     {}};
        }
        // Another program created the file after it was looked for: read it and go again.
        if (written.what == FileResult::What::FileError &&
            written.error.code == FileError::kFileExists && round < kCreateRounds) {
            continue;
        }
        return written;
    }
}

FileResult TemplateFile::writeStore(AtomicFileWriter& writer, const std::string& path,
                                    KeptFile& kept) {
    const bool tree = isTreeShape();
    FileError error;
    std::string chunk = tree ? transactionFileHeader() : std::string();
    chunk.reserve(kWriteChunk + 4096);
    for (const Day& day : m_store.days()) {
        for (const Transaction& t : day.transactions()) {
            if (tree) {
                appendVersion4Record(chunk, t);
            } else {
                appendLegacyRecord(chunk, t);
            }
        }
        if (chunk.size() >= kWriteChunk) {
            if (!writer.write(chunk, error)) {
                return FileResult::fileError(error, path);
            }
            chunk.clear();
        }
    }
    if (!writer.write(chunk, error) || !writer.commit(error, &kept)) {
        return FileResult::fileError(error, path);
    }
    return FileResult::done();
}

FileResult TemplateFile::unloadTransactions(bool save) {
    FileResult saved = save ? saveTransactions() : FileResult::done();
    m_store.clear();
    m_loaded = false;
    m_base.reset();
    return saved;
}

FileResult TemplateFile::lastTransactionOf(TimeValue date, Transaction& out) {
    if (!m_store.empty()) {
        const Day* day = m_store.findDay(date);
        if (!day) {
            return FileResult::absent();
        }
        out = *day->lastTransaction();
        return FileResult::done();
    }
    std::string dateText;
    appendShortDate(dateText, date);
    bool found = false;
    FileResult read = readTransactionFile([&](TransactionReader& reader) {
        Transaction candidate;
        // The store would put an equal transaction after the last one, so a later equal one wins.
        while (reader.nextOfDate(dateText, candidate)) {
            if (candidate.date() == date && (!found || !(candidate < out))) {
                out = candidate;
                found = true;
            }
        }
    });
    if (read && !found) {
        read.what = FileResult::What::Absent; // the notice of a record cut short stays
    }
    return read;
}

FileResult TemplateFile::createEmptyTransactionFile() {
    const std::string path = transactionPath();
    FileError error;
    if (!writeFileAtomically(path, isTreeShape() ? transactionFileHeader() : std::string(),
                             error)) {
        return FileResult::fileError(error, path);
    }
    return FileResult::done();
}

FileResult TemplateFile::appendTransaction(const Transaction& t) {
    const std::string path = transactionPath();
    const bool held = m_loaded || !m_store.empty();
    FileResult appended = appendToFile(t, path);
    if (held) {
        if (appended.ok()) {
            // The next save finds it on disk; as this program's own, it is not taken in again.
            if (!m_base || m_base->path != path) {
                m_base = TransactionBase{path, KeptFile(), transactionLayout(), 0, {}, {}};
            }
            m_base->ownAppends.push_back(recordDigest(t));
        }
        m_store.add(t);
    }
    return appended;
}

FileResult TemplateFile::appendToFile(const Transaction& t, const std::string& path) {
    if (FileResult refused = storable(t, path); !refused) {
        return refused;
    }
    FileError error;
    LockedFile file = LockedFile::open(path, LockedFile::Mode::ReadWriteCreate, error);
    if (!file.isOpen()) {
        return FileResult::fileError(error, path);
    }
    // The layout is the file's own when it has a header or a record; only an empty file (or one
    // too short to begin a record) takes the template's.
    TransactionReader reader(
        [&file, &error](char* buffer, std::size_t capacity) {
            return file.read(buffer, capacity, error);
        },
        TransactionLayout::Legacy);
    reader.walkToEnd();
    if (reader.readError()) {
        return FileResult::fileError(error, path);
    }
    const bool known = reader.hasHeader() || reader.recordsRead() > 0;
    const TransactionLayout layout = known ? reader.layout() : transactionLayout();
    std::string bytes;
    // The notice of a record cut short goes with whatever the append comes to.
    std::string incompleteRecordFile;
    const auto withNotice = [&incompleteRecordFile](FileResult result) {
        result.incompleteRecordFile = std::move(incompleteRecordFile);
        return result;
    };
    // In a damaged file the end of the records is not known; the record goes at the end.
    if (!reader.failed() && reader.tailBytes() > 0) {
        if (reader.incompleteRecord()) {
            incompleteRecordFile = noteIncompleteRecord(path);
            std::string whole;
            if (!file.rewind(error) || !file.readAll(whole, error)) {
                return withNotice(FileResult::fileError(error, path));
            }
            if (FileResult kept = keepIncompleteTail(path, whole); !kept) {
                return withNotice(std::move(kept));
            }
        }
        // A new record glued to the bytes of one cut short would make both unreadable.
        if (!file.truncate(static_cast<std::int64_t>(reader.completeBytes()), error)) {
            return withNotice(FileResult::fileError(error, path));
        }
    }
    if (layout == TransactionLayout::Version4 && file.size() == 0) {
        bytes = transactionFileHeader();
    }
    if (layout == TransactionLayout::Version4) {
        appendVersion4Record(bytes, t);
    } else {
        appendLegacyRecord(bytes, t);
    }
    if (!file.appendDurably(bytes, error)) {
        return withNotice(FileResult::fileError(error, path));
    }
    if (m_incompleteTailOf == path) {
        m_incompleteTailOf.clear();
    }
    return withNotice(FileResult::done());
}

FileResult TemplateFile::appendHandOff(const std::vector<const Transaction*>& transactions) {
    const std::string base = baseName();
    for (const Transaction* t : transactions) {
        if (FileResult refused = storable(*t, TemplatePaths::handOffTransactions(m_path));
            !refused) {
            return refused;
        }
    }
    std::string records;
    for (const Transaction* t : transactions) {
        if (isTreeShape()) {
            appendHandOffVersion4(records, base, *t);
        } else {
            appendHandOffLegacy(records, base, *t);
        }
    }
    // The server takes each record from both files, so both must grow by the same records or
    // neither: both are opened (and held) before either is written, the first is cut back when
    // the second cannot take the records, and a file that this call created is removed again,
    // so that a failure leaves the folder as it was.
    const std::string paths[2] = {TemplatePaths::handOffTransactions(m_path),
                                  TemplatePaths::handOffLog(m_path)};
    const bool existed[2] = {fileExists(paths[0]), fileExists(paths[1])};
    LockedFile files[2];
    auto undo = [&files, &paths, &existed](std::int64_t firstSize) {
        if (files[0].isOpen() && firstSize >= 0) {
            FileError ignored;
            files[0].truncate(firstSize, ignored);
        }
        for (int i = 0; i < 2; ++i) {
            const bool created = files[i].isOpen() && !existed[i];
            files[i].close();
            if (created) {
                FileError ignored;
                removeFile(paths[i], ignored);
            }
        }
    };
    FileError error;
    for (int i = 0; i < 2; ++i) {
        files[i] = LockedFile::open(paths[i], LockedFile::Mode::ReadWriteCreate, error);
        if (!files[i].isOpen()) {
            undo(-1);
            return FileResult::fileError(error, paths[i]);
        }
    }
    const std::int64_t firstSize = files[0].size();
    for (int i = 0; i < 2; ++i) {
        const bool needsHeader = isTreeShape() && files[i].size() == 0;
        if (!files[i].appendDurably(needsHeader ? transactionFileHeader() + records : records,
                                    error)) {
            undo(i == 1 ? firstSize : -1);
            return FileResult::fileError(error, paths[i]);
        }
    }
    return FileResult::done();
}

} // namespace vsolo
