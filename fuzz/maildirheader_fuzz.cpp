// The Maildir store's reading of a message file: the search by type, which reads the header
// alone, the envelope read and the whole read. The input is the file, written into a Maildir of
// the process's own. What the three make of one header must agree: the search finds the message
// by the type its envelope gives, and a message read whole has the envelope's subject, sender and
// type. Every text is UTF-8.
#include "fuzz/fuzzinput.h"
#include "mailbridge/layer/localservices.h"
#include "mailbridge/layer/maillayer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using vsolo::fuzz::isUtf8;
using vsolo::fuzz::require;
namespace fs = std::filesystem;
namespace mail = vsolo::mail;

constexpr const char* kId = "1700000000.fuzz.host";

// A Maildir in a temporary folder, removed when the process ends.
class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "vsolo-fuzz-maildir-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data());
        for (const char* sub : {"new", "cur", "tmp"})
            fs::create_directories(m_root / sub);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    std::string path() const { return m_root.string(); }
    void put(const std::uint8_t* data, std::size_t size) const {
        std::ofstream(m_root / "new" / kId, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

private:
    fs::path m_root;
};

bool isUtf8(const mail::ReceivedMail& m) {
    return isUtf8(m.subject) && isUtf8(m.noteText) && isUtf8(m.messageType) && isUtf8(m.fromName) &&
           isUtf8(m.fromAddress);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folder folder;
    folder.put(data, size);
    const auto store = mail::makeMaildirStore(folder.path());
    require(store->open("") == mail::code::kSuccess);

    mail::ReceivedMail envelope;
    const unsigned long read = store->readEnvelope(kId, envelope);
    require(read == mail::code::kSuccess || read == mail::code::kInvalidMessage);
    require(isUtf8(envelope) && envelope.noteText.empty());
    require(read != mail::code::kSuccess || (envelope.unread && envelope.received == 1700000000));

    std::vector<std::string> ids;
    require(store->findByType(envelope.messageType, ids) == mail::code::kSuccess);
    require(ids == std::vector<std::string>{kId});

    mail::ReceivedMail whole;
    if (store->read(kId, true, whole) == mail::code::kSuccess) {
        require(read == mail::code::kSuccess && isUtf8(whole));
        require(whole.subject == envelope.subject && whole.messageType == envelope.messageType);
        require(whole.fromName == envelope.fromName && whole.fromAddress == envelope.fromAddress &&
                whole.to == envelope.to);
    }
    return 0;
}
