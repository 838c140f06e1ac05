#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"
#include "mailbridge/layer/netsession.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vmime/net/imap/IMAPCommand.hpp>
#include <vmime/net/imap/IMAPConnection.hpp>
#include <vmime/net/imap/IMAPFolder.hpp>
#include <vmime/net/imap/IMAPStore.hpp>

namespace vsolo::mail {
namespace {

namespace imap = vmime::net::imap;
using Parser = imap::IMAPParser;

// VMime never asks for INTERNALDATE and its parser cannot read one, so the store reads it from
// the reply's lines as they arrive. Only the lines of the one command that asks for it are kept.
class LineCapture : public vmime::net::tracer {
public:
    void traceSend(const vmime::string&) override {}
    void traceReceive(const vmime::string& line) override {
        if (capturing)
            lines.push_back(line);
    }

    bool capturing = false;
    std::vector<std::string> lines;
};

class LineCaptureFactory : public vmime::net::tracerFactory {
public:
    explicit LineCaptureFactory(std::shared_ptr<LineCapture> capture)
        : m_capture(std::move(capture)) {}
    std::shared_ptr<vmime::net::tracer> create(std::shared_ptr<vmime::net::service>, int) override {
        return m_capture;
    }

private:
    std::shared_ptr<LineCapture> m_capture;
};

// How many lines besides those asked for a server may send with a reply (its own news of new
// or removed messages) before the store takes the reply for broken.
constexpr std::size_t kUnrelatedLines = 64;

bool completed(const Parser::response& response) {
    if (response.isBad() || response.response_done() == nullptr)
        return false;
    const auto* tagged = response.response_done()->response_tagged();
    return tagged != nullptr && tagged->resp_cond_state() != nullptr &&
           tagged->resp_cond_state()->status() == Parser::resp_cond_state::OK;
}

struct Summary {
    std::uint32_t uid = 0;
    std::time_t received = 0;
    std::size_t size = 0;
    bool seen = false;
    bool deleted = false; // marked deleted, by this store or another mail program
    std::string header;   // the header fields fetched, if any
};

// Which part of the header a summary fetches besides UID, size, flags and date.
enum class HeaderPart { None, MessageType, Whole };

// Takes one item of a FETCH reply into the summary; true when it was the UID.
bool readItem(const Parser::msg_att_item& item, Summary& summary) {
    switch (item.type()) {
    case Parser::msg_att_item::UID:
        summary.uid = static_cast<std::uint32_t>(item.unique_id()->value());
        return summary.uid != 0;
    case Parser::msg_att_item::RFC822_SIZE:
        summary.size = item.number()->value();
        break;
    case Parser::msg_att_item::FLAGS:
        for (const auto* flag : item.flag_list()->flags()) {
            summary.seen = summary.seen || flag->type() == Parser::flag::SEEN;
            summary.deleted = summary.deleted || flag->type() == Parser::flag::DELETED;
        }
        break;
    case Parser::msg_att_item::BODY_SECTION:
        if (item.nstring() != nullptr)
            summary.header = item.nstring()->value();
        break;
    default:
        break;
    }
    return false;
}

// Identifiers are "UIDVALIDITY.UID", so that one from before the folder was renumbered names
// no message rather than another one.
std::string makeId(std::uint32_t validity, std::uint32_t uid) {
    return std::to_string(validity) + '.' + std::to_string(uid);
}

bool parseNumber(std::string_view text, std::uint32_t& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool parseId(const std::string& id, std::uint32_t& validity, std::uint32_t& uid) {
    const std::size_t dot = id.find('.');
    return dot != std::string::npos && parseNumber(std::string_view(id).substr(0, dot), validity) &&
           parseNumber(std::string_view(id).substr(dot + 1), uid) && uid != 0;
}

// Keeps what a fetch delivers up to a bound and notes when more arrived, so that a server that
// sends more than the size it claimed cannot make the store hold it all.
class BoundedOutput : public vmime::utility::outputStream {
public:
    explicit BoundedOutput(std::size_t limit) : m_limit(limit) {}
    void flush() override {}
    bool overflowed() const { return m_overflowed; }
    const std::string& text() const { return m_text; }

protected:
    void writeImpl(const vmime::byte_t* const data, const std::size_t count) override {
        const std::size_t room = m_limit - m_text.size();
        m_text.append(reinterpret_cast<const char*>(data), std::min(room, count));
        m_overflowed = m_overflowed || count > room;
    }

private:
    std::size_t m_limit;
    std::string m_text;
    bool m_overflowed = false;
};

class ImapStore : public MailStore {
public:
    ImapStore(MailProfile profile, const net::TlsPolicy& policy,
              std::shared_ptr<vmime::net::socketFactory> sockets)
        : m_profile(std::move(profile)), m_policy(policy), m_sockets(std::move(sockets)) {}
    ~ImapStore() override { close(); }

    unsigned long open(const std::string& password) override;
    unsigned long findByType(const std::string& type, std::vector<std::string>& ids) override;
    unsigned long read(const std::string& id, bool peek, ReceivedMail& out) override;
    unsigned long readEnvelope(const std::string& id, ReceivedMail& out) override;
    unsigned long remove(const std::string& id) override;
    void close() override;

private:
    unsigned long connect(const std::string& password);
    std::unique_ptr<Parser::response> command(const std::string& text);
    std::map<std::uint32_t, std::time_t> fetchDates(const std::string& set, std::size_t lines);
    std::vector<Summary> fetchSummaries(const std::string& set, HeaderPart part);
    std::optional<Summary> summaryOf(const std::string& id, HeaderPart part = HeaderPart::None);
    unsigned long readMessage(const Summary& summary, bool peek, ReceivedMail& out);

    template <typename Operation>
    unsigned long guarded(Operation operation);

    MailProfile m_profile;
    net::TlsPolicy m_policy;
    std::shared_ptr<vmime::net::socketFactory> m_sockets; // null: the platform's
    std::shared_ptr<LineCapture> m_capture = std::make_shared<LineCapture>();
    std::shared_ptr<imap::IMAPStore> m_store;
    std::shared_ptr<imap::IMAPFolder> m_folder;
    std::uint32_t m_validity = 0;
};

// Every VMime call of the store runs inside this: nothing throws out of the layer. A failure
// that leaves the connection in doubt also ends it, so that the next call reports it at once.
template <typename Operation>
unsigned long ImapStore::guarded(Operation operation) {
    if (!m_folder)
        return code::kFailure;
    try {
        return operation();
    } catch (const vmime::exception& e) {
        close();
        return net::failureCode(e);
    } catch (const std::bad_alloc&) {
        close();
        return code::kInsufficientMemory;
    } catch (...) {
        close();
        return code::kFailure;
    }
}

unsigned long ImapStore::open(const std::string& password) {
    close();
    setFailureCause("");
    try {
        const unsigned long result = connect(password);
        if (result != code::kSuccess)
            close();
        return result;
    } catch (const vmime::exception& e) {
        close();
        setFailureCause(net::failureCause(e, m_profile.store));
        return net::failureCode(e);
    } catch (...) {
        close();
        return code::kFailure;
    }
}

unsigned long ImapStore::connect(const std::string& password) {
    const Endpoint& endpoint = m_profile.store;
    net::ensurePlatformHandler();
    auto session = makeSession();
    auto store = vmime::dynamicCast<imap::IMAPStore>(
        session->getStore(net::serviceUrl(endpoint.isImplicitTls() ? "imaps" : "imap", endpoint),
                          std::make_shared<vmime::security::sasl::defaultSASLAuthenticator>()));
    if (!store)
        return code::kFailure;
    if (!net::configureService(*store, endpoint, m_policy, m_profile.caFile, password))
        return code::kLoginFailure;
    if (m_sockets)
        store->setSocketFactory(m_sockets);
    // One attempt with the password, by LOGIN: trying each SASL mechanism and then LOGIN too
    // would offer a wrong password several times, and servers slow down or lock on each.
    store->setProperty("options.sasl", false);
    store->setTracerFactory(std::make_shared<LineCaptureFactory>(m_capture));
    m_store = store;
    store->connect();
    auto folder = vmime::dynamicCast<imap::IMAPFolder>(
        store->getFolder(vmime::net::folder::path(vmime::net::folder::path::component("INBOX"))));
    if (!folder)
        return code::kFailure;
    folder->open(vmime::net::folder::MODE_READ_WRITE);
    m_folder = folder;
    m_validity = folder->getUIDValidity();
    // VMime gives the open folder a connection of its own and keeps it to itself; the store's
    // connection selects the same INBOX for what VMime does not do: fetching dates and whole
    // headers, and removing one message.
    command("SELECT INBOX");
    return code::kSuccess;
}

void ImapStore::close() {
    try {
        if (m_folder && m_folder->isOpen())
            m_folder->close(false);
    } catch (...) {
        // Closing a connection that is already broken: nothing is left to keep.
    }
    try {
        if (m_store && m_store->isConnected())
            m_store->disconnect();
    } catch (...) {
        // Closing a connection that is already broken: nothing is left to keep.
    }
    m_folder.reset();
    m_store.reset();
    m_capture->capturing = false;
    m_capture->lines.clear();
}

// Runs one command on the store's own connection and returns the server's whole reply to it;
// throws unless the server completed it.
std::unique_ptr<Parser::response> ImapStore::command(const std::string& text) {
    auto connection = m_store->getConnection();
    connection->sendCommand(imap::IMAPCommand::createCommand(text));
    std::unique_ptr<Parser::response> response(connection->readResponse());
    if (!completed(*response))
        throw vmime::exceptions::command_error(text, response->getErrorLog());
    return response;
}

// The INTERNALDATE of the messages of a UID set, by UID. VMime's parser cannot read an IMAP
// date-time (its atoms run over the dashes), so it fails on every line that carries one and goes
// on with the next when asked again; the lines themselves arrive through the tracer. The tagged
// line ends the reply. `lines` bounds how many failing lines are passed over.
std::map<std::uint32_t, std::time_t> ImapStore::fetchDates(const std::string& set,
                                                           std::size_t lines) {
    auto connection = m_store->getConnection();
    m_capture->lines.clear();
    m_capture->capturing = true;
    std::unique_ptr<Parser::response> response;
    try {
        connection->sendCommand(
            imap::IMAPCommand::createCommand("UID FETCH " + set + " (UID INTERNALDATE)"));
        for (std::size_t failed = 0; !response; ++failed) {
            try {
                response.reset(connection->readResponse());
            } catch (const vmime::exceptions::invalid_response&) {
                if (failed > lines + kUnrelatedLines)
                    throw;
            }
        }
    } catch (...) {
        m_capture->capturing = false;
        throw;
    }
    m_capture->capturing = false;
    if (!completed(*response))
        throw vmime::exceptions::command_error("UID FETCH", response->getErrorLog());
    std::map<std::uint32_t, std::time_t> dates;
    for (const auto& line : m_capture->lines) {
        const auto uid = net::uidOf(line);
        const auto date = net::internalDateOf(line);
        if (uid && date)
            dates[*uid] = *date;
    }
    return dates;
}

// UID, size, flags, INTERNALDATE and the part of the header asked for of the messages of a UID
// set. Everything is peeked: finding messages reads none. A whole header is fetched up to
// kMaxMessageSize bytes, as much as a message the store reads may hold.
std::vector<Summary> ImapStore::fetchSummaries(const std::string& set, HeaderPart part) {
    static const std::string kHeaderItem[] = {"", " BODY.PEEK[HEADER.FIELDS (X-Message-Type)]",
                                              " BODY.PEEK[HEADER]<0." +
                                                  std::to_string(kMaxMessageSize) + ">"};
    const auto response = command("UID FETCH " + set + " (UID RFC822.SIZE FLAGS" +
                                  kHeaderItem[static_cast<int>(part)] + ")");
    std::vector<Summary> summaries;
    for (const auto* data : response->continue_req_or_response_data()) {
        const auto* responseData = data->response_data();
        if (responseData == nullptr || responseData->message_data() == nullptr ||
            responseData->message_data()->type() != Parser::message_data::FETCH)
            continue;
        Summary summary;
        bool hasUid = false;
        for (const auto* item : responseData->message_data()->msg_att()->items())
            hasUid = readItem(*item, summary) || hasUid;
        // A reply the server sent on its own (a flag change) has no UID.
        if (hasUid)
            summaries.push_back(std::move(summary));
    }
    if (summaries.empty())
        return summaries;
    const auto dates = fetchDates(set, summaries.size());
    std::erase_if(summaries, [&](Summary& s) {
        const auto it = dates.find(s.uid);
        if (it != dates.end())
            s.received = it->second;
        return it == dates.end();
    });
    return summaries;
}

unsigned long ImapStore::findByType(const std::string& type, std::vector<std::string>& ids) {
    return guarded([&] {
        ids.clear();
        if (m_folder->getMessageCount() == 0)
            return code::kSuccess;
        auto summaries = fetchSummaries("1:*", HeaderPart::MessageType);
        std::erase_if(summaries, [&](const Summary& s) {
            return s.deleted || decodeMessageType(s.header) != type;
        });
        std::sort(summaries.begin(), summaries.end(), [](const Summary& a, const Summary& b) {
            return a.received != b.received ? a.received < b.received : a.uid < b.uid;
        });
        for (const auto& s : summaries)
            ids.push_back(makeId(m_validity, s.uid));
        return code::kSuccess;
    });
}

std::optional<Summary> ImapStore::summaryOf(const std::string& id, HeaderPart part) {
    std::uint32_t validity = 0, uid = 0;
    if (!parseId(id, validity, uid) || validity != m_validity)
        return std::nullopt;
    // A message marked deleted is gone for the user, even where it could not be expunged.
    for (auto& s : fetchSummaries(std::to_string(uid), part)) {
        if (s.uid == uid && !s.deleted)
            return std::move(s);
    }
    return std::nullopt;
}

unsigned long ImapStore::readMessage(const Summary& summary, bool peek, ReceivedMail& out) {
    if (summary.size > kMaxMessageSize)
        return code::kInvalidMessage;
    const auto set = vmime::net::messageSet::byUID(summary.uid);
    auto messages = m_folder->getMessages(set);
    if (messages.empty())
        return code::kFailure;
    // Always peeked: a message that cannot be decoded stays unread, and \Seen is set on purpose.
    BoundedOutput raw(kMaxMessageSize);
    messages.front()->extract(raw, nullptr, 0, kMaxMessageSize + 1, true);
    if (raw.overflowed())
        return code::kInvalidMessage;
    ReceivedMail mail;
    if (!decodeMessage(raw.text(), mail))
        return code::kInvalidMessage;
    mail.received = summary.received;
    mail.unread = !summary.seen;
    if (!peek && !summary.seen)
        m_folder->setMessageFlags(set, vmime::net::message::FLAG_SEEN,
                                  vmime::net::message::FLAG_MODE_ADD);
    out = std::move(mail);
    return code::kSuccess;
}

unsigned long ImapStore::read(const std::string& id, bool peek, ReceivedMail& out) {
    return guarded([&] {
        const auto summary = summaryOf(id);
        return summary ? readMessage(*summary, peek, out) : code::kFailure;
    });
}

unsigned long ImapStore::readEnvelope(const std::string& id, ReceivedMail& out) {
    return guarded([&] {
        const auto summary = summaryOf(id, HeaderPart::Whole);
        if (!summary)
            return code::kFailure;
        ReceivedMail mail;
        if (!decodeEnvelope(summary->header, mail))
            return code::kInvalidMessage;
        mail.received = summary->received;
        mail.unread = !summary->seen;
        out = std::move(mail);
        return code::kSuccess;
    });
}

unsigned long ImapStore::remove(const std::string& id) {
    return guarded([&] {
        const auto summary = summaryOf(id);
        if (!summary)
            return code::kFailure;
        // A plain EXPUNGE would also remove for good every message that another mail program has
        // only marked deleted. UID EXPUNGE (UIDPLUS) removes this one alone; without it, the
        // mark is all that may be done.
        const std::string uid = std::to_string(summary->uid);
        command("UID STORE " + uid + " +FLAGS.SILENT (\\Deleted)");
        if (m_store->getConnection()->hasCapability("UIDPLUS"))
            command("UID EXPUNGE " + uid);
        return code::kSuccess;
    });
}

} // namespace

std::unique_ptr<MailStore> net::makeImapStore(const MailProfile& profile,
                                              const net::TlsPolicy& policy,
                                              std::shared_ptr<vmime::net::socketFactory> sockets) {
    return std::make_unique<ImapStore>(profile, policy, std::move(sockets));
}

std::unique_ptr<MailStore> makeImapStore(const MailProfile& profile) {
    return net::makeImapStore(profile, net::tlsPolicy(profile.store), nullptr);
}

} // namespace vsolo::mail
