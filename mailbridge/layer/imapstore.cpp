#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"
#include "mailbridge/layer/netsession.h"

#include <vmime/net/imap/IMAPCommand.hpp>
#include <vmime/net/imap/IMAPConnection.hpp>
#include <vmime/net/imap/IMAPFolder.hpp>
#include <vmime/net/imap/IMAPStore.hpp>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string_view>

namespace vsolo::mail {
namespace {

namespace imap = vmime::net::imap;
using Parser = imap::IMAPParser;

// VMime parses INTERNALDATE but keeps the value to itself, so the store reads it from the
// response lines as they arrive. Only the lines of the one command that asks for it are kept.
class LineCapture : public vmime::net::tracer {
public:
    void traceSend(const vmime::string&) override {}
    void traceReceive(const vmime::string& line) override
    {
        if (capturing)
            lines.push_back(line);
    }

    bool capturing = false;
    std::vector<std::string> lines;
};

class LineCaptureFactory : public vmime::net::tracerFactory {
public:
    explicit LineCaptureFactory(std::shared_ptr<LineCapture> capture) : m_capture(std::move(capture))
    {}
    std::shared_ptr<vmime::net::tracer> create(std::shared_ptr<vmime::net::service>, int) override
    {
        return m_capture;
    }

private:
    std::shared_ptr<LineCapture> m_capture;
};

// An IMAP date-time, "dd-Mon-yyyy hh:mm:ss +zzzz" (the day may start with a space), as UTC.
std::optional<std::time_t> parseInternalDate(std::string_view text)
{
    static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const std::string s(text);
    int day = 0, year = 0, hour = 0, minute = 0, second = 0, zone = 0;
    char month[4] = {};
    char sign = 0;
    if (std::sscanf(s.c_str(), "%2d-%3c-%4d %2d:%2d:%2d %c%4d", &day, month, &year, &hour, &minute,
                    &second, &sign, &zone) != 8 ||
        (sign != '+' && sign != '-'))
        return std::nullopt;
    const std::size_t m = kMonths.find(std::string_view(month, 3));
    if (m == std::string_view::npos || m % 3 != 0)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = static_cast<int>(m / 3);
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    const std::time_t local = timegm(&tm);
    const long offset = (zone / 100 * 60 + zone % 100) * 60L;
    return local - (sign == '+' ? offset : -offset);
}

// The INTERNALDATE of one untagged FETCH line.
std::optional<std::time_t> internalDateOf(std::string_view line)
{
    static constexpr std::string_view kKey = "INTERNALDATE \"";
    const std::size_t start = line.find(kKey);
    if (start == std::string_view::npos)
        return std::nullopt;
    const std::size_t from = start + kKey.size();
    const std::size_t end = line.find('"', from);
    if (end == std::string_view::npos)
        return std::nullopt;
    return parseInternalDate(line.substr(from, end - from));
}

struct Summary {
    std::uint32_t uid = 0;
    std::time_t received = 0;
    std::size_t size = 0;
    bool seen = false;
};

bool isFetchLine(const std::string& line)
{
    return line.rfind("* ", 0) == 0 && line.find(" FETCH (") != std::string::npos;
}

// Identifiers are "UIDVALIDITY.UID", so that one from before the folder was renumbered names
// no message rather than another one.
std::string makeId(std::uint32_t validity, std::uint32_t uid)
{
    return std::to_string(validity) + '.' + std::to_string(uid);
}

bool parseNumber(std::string_view text, std::uint32_t& out)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool parseId(const std::string& id, std::uint32_t& validity, std::uint32_t& uid)
{
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
    void writeImpl(const vmime::byte_t* const data, const std::size_t count) override
    {
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
    explicit ImapStore(MailProfile profile) : m_profile(std::move(profile)) {}
    ~ImapStore() override { close(); }

    unsigned long open(const std::string& password) override;
    unsigned long findByType(const std::string& type, std::vector<std::string>& ids) override;
    unsigned long read(const std::string& id, bool peek, ReceivedMail& out) override;
    unsigned long remove(const std::string& id) override;
    void close() override;

private:
    unsigned long connect(const std::string& password);
    std::vector<Summary> fetchSummaries(const std::string& set);
    std::map<std::uint32_t, std::string> fetchTypes();
    std::optional<Summary> summaryOf(const std::string& id);
    unsigned long readMessage(const Summary& summary, bool peek, ReceivedMail& out);

    template <typename Operation> unsigned long guarded(Operation operation);

    MailProfile m_profile;
    std::shared_ptr<LineCapture> m_capture = std::make_shared<LineCapture>();
    std::shared_ptr<imap::IMAPStore> m_store;
    std::shared_ptr<imap::IMAPFolder> m_folder;
    std::uint32_t m_validity = 0;
};

// Every VMime call of the store runs inside this: nothing throws out of the layer. A failure
// that leaves the connection in doubt also ends it, so that the next call reports it at once.
template <typename Operation> unsigned long ImapStore::guarded(Operation operation)
{
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
    } catch (const std::exception&) {
        close();
        return code::kFailure;
    }
}

unsigned long ImapStore::open(const std::string& password)
{
    close();
    try {
        return connect(password);
    } catch (const vmime::exception& e) {
        close();
        return net::failureCode(e);
    } catch (const std::exception&) {
        close();
        return code::kFailure;
    }
}

unsigned long ImapStore::connect(const std::string& password)
{
    const Endpoint& endpoint = m_profile.store;
    net::ensurePlatformHandler();
    auto session = vmime::net::session::create();
    auto store = vmime::dynamicCast<imap::IMAPStore>(session->getStore(
        net::serviceUrl(endpoint.isImplicitTls() ? "imaps" : "imap", endpoint),
        std::make_shared<vmime::security::sasl::defaultSASLAuthenticator>()));
    if (!store)
        return code::kFailure;
    net::configureService(*store, endpoint, m_profile.caFile, password);
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
    return code::kSuccess;
}

void ImapStore::close()
{
    try {
        if (m_folder && m_folder->isOpen())
            m_folder->close(false);
    } catch (const vmime::exception&) {
    }
    try {
        if (m_store && m_store->isConnected())
            m_store->disconnect();
    } catch (const vmime::exception&) {
    }
    m_folder.reset();
    m_store.reset();
    m_capture->capturing = false;
    m_capture->lines.clear();
}

// UID, size, flags and INTERNALDATE of the messages of a UID set. The other three come from
// VMime's parse of the reply; the date from the line the same reply arrived on (the command asks
// for nothing that arrives as a literal, so each FETCH reply is one line, in order).
std::vector<Summary> ImapStore::fetchSummaries(const std::string& set)
{
    auto connection = m_store->getConnection();
    m_capture->lines.clear();
    m_capture->capturing = true;
    std::unique_ptr<Parser::response> response;
    try {
        connection->sendCommand(imap::IMAPCommand::createCommand(
            "UID FETCH " + set + " (UID INTERNALDATE RFC822.SIZE FLAGS)"));
        response.reset(connection->readResponse());
    } catch (...) {
        m_capture->capturing = false;
        throw;
    }
    m_capture->capturing = false;
    if (response->isBad() || response->response_done()->response_tagged()->resp_cond_state()->status() !=
                                 Parser::resp_cond_state::OK)
        throw vmime::exceptions::command_error("FETCH", response->getErrorLog());

    std::vector<std::string> lines;
    std::copy_if(m_capture->lines.begin(), m_capture->lines.end(), std::back_inserter(lines),
                 isFetchLine);
    std::vector<Summary> summaries;
    std::size_t index = 0;
    for (const auto* data : response->continue_req_or_response_data()) {
        const auto* responseData = data->response_data();
        if (responseData == nullptr || responseData->message_data() == nullptr ||
            responseData->message_data()->type() != Parser::message_data::FETCH)
            continue;
        const std::size_t lineIndex = index++;
        Summary summary;
        bool hasUid = false, hasDate = false;
        for (const auto* item : responseData->message_data()->msg_att()->items()) {
            switch (item->type()) {
            case Parser::msg_att_item::UID:
                summary.uid = static_cast<std::uint32_t>(item->unique_id()->value());
                hasUid = true;
                break;
            case Parser::msg_att_item::RFC822_SIZE:
                summary.size = item->number()->value();
                break;
            case Parser::msg_att_item::FLAGS:
                for (const auto* flag : item->flag_list()->flags())
                    summary.seen = summary.seen || flag->type() == Parser::flag::SEEN;
                break;
            case Parser::msg_att_item::INTERNALDATE:
                if (lineIndex < lines.size()) {
                    if (const auto date = internalDateOf(lines[lineIndex])) {
                        summary.received = *date;
                        hasDate = true;
                    }
                }
                break;
            default:
                break;
            }
        }
        // A reply the server sent on its own (a flag change) carries neither.
        if (hasUid && hasDate)
            summaries.push_back(summary);
    }
    return summaries;
}

// X-Message-Type of every message, by UID.
std::map<std::uint32_t, std::string> ImapStore::fetchTypes()
{
    auto messages = m_folder->getMessages(vmime::net::messageSet::byNumber(1, static_cast<std::size_t>(-1)));
    vmime::net::fetchAttributes attributes(vmime::net::fetchAttributes::UID);
    attributes.add("X-Message-Type");
    m_folder->fetchMessages(messages, attributes);
    std::map<std::uint32_t, std::string> types;
    for (const auto& message : messages) {
        std::uint32_t uid = 0;
        if (!parseNumber(static_cast<const std::string&>(message->getUID()), uid))
            continue;
        std::string type;
        if (auto field = message->getHeader()->findField("X-Message-Type")) {
            if (auto value = field->getValue<vmime::text>())
                type = value->getConvertedText(vmime::charset(vmime::charsets::UTF_8));
        }
        const auto first = type.find_first_not_of(" \t");
        const auto last = type.find_last_not_of(" \t");
        types[uid] = first == std::string::npos ? "" : type.substr(first, last - first + 1);
    }
    return types;
}

unsigned long ImapStore::findByType(const std::string& type, std::vector<std::string>& ids)
{
    return guarded([&] {
        ids.clear();
        if (m_folder->getMessageCount() == 0)
            return code::kSuccess;
        const auto types = fetchTypes();
        auto summaries = fetchSummaries("1:*");
        std::erase_if(summaries, [&](const Summary& s) {
            const auto it = types.find(s.uid);
            return it == types.end() || it->second != type;
        });
        std::sort(summaries.begin(), summaries.end(), [](const Summary& a, const Summary& b) {
            return a.received != b.received ? a.received < b.received : a.uid < b.uid;
        });
        for (const auto& s : summaries)
            ids.push_back(makeId(m_validity, s.uid));
        return code::kSuccess;
    });
}

std::optional<Summary> ImapStore::summaryOf(const std::string& id)
{
    std::uint32_t validity = 0, uid = 0;
    if (!parseId(id, validity, uid) || validity != m_validity)
        return std::nullopt;
    for (const auto& s : fetchSummaries(std::to_string(uid))) {
        if (s.uid == uid)
            return s;
    }
    return std::nullopt;
}

unsigned long ImapStore::readMessage(const Summary& summary, bool peek, ReceivedMail& out)
{
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

unsigned long ImapStore::read(const std::string& id, bool peek, ReceivedMail& out)
{
    return guarded([&] {
        const auto summary = summaryOf(id);
        return summary ? readMessage(*summary, peek, out) : code::kFailure;
    });
}

unsigned long ImapStore::remove(const std::string& id)
{
    return guarded([&] {
        const auto summary = summaryOf(id);
        if (!summary)
            return code::kFailure;
        m_folder->setMessageFlags(vmime::net::messageSet::byUID(summary->uid),
                                  vmime::net::message::FLAG_DELETED,
                                  vmime::net::message::FLAG_MODE_ADD);
        m_folder->expunge();
        return code::kSuccess;
    });
}

} // namespace

std::unique_ptr<MailStore> makeImapStore(const MailProfile& profile)
{
    return std::make_unique<ImapStore>(profile);
}

} // namespace vsolo::mail
