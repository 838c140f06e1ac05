// The IMAP store against a server whose every reply is the fuzzer's: it logs on, searches for
// time sheets, reads each found (whole and its header alone) and removes the first. The input is
// the server's side of the conversation in turns separated by NUL bytes: the first turn greets
// each new connection, and each later one answers the next line the client sends. A '$' that
// starts a line stands for the tag of the command being answered. No network is used: the store
// gets its connections from the socket factory below.
//
// Whatever the server says, the store hands on only well-formed identifiers and UTF-8 texts, and
// it never holds more of a message than it may read.
#include "fuzz/fuzzinput.h"
#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netsession.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using vsolo::fuzz::require;
namespace mail = vsolo::mail;

// The turns of the server, taken in order by all the connections of one run.
class Script {
public:
    explicit Script(std::string_view input) {
        for (std::size_t at = 0; at <= input.size();) {
            std::size_t end = input.find('\0', at);
            if (end == std::string_view::npos)
                end = input.size();
            m_turns.emplace_back(input.substr(at, end - at));
            at = end + 1;
        }
    }

    // The next turn with the tag put in, "" once the script has ended.
    std::string next(const std::string& tag) {
        if (m_next >= m_turns.size())
            return {};
        std::string turn;
        std::string_view rest = m_turns[m_next++];
        while (!rest.empty()) {
            const std::size_t end = std::min(rest.find('\n'), rest.size() - 1) + 1;
            const std::string_view line = rest.substr(0, end);
            if (line.front() == '$')
                turn.append(tag).append(line.substr(1));
            else
                turn.append(line);
            rest.remove_prefix(end);
        }
        return turn;
    }

private:
    std::vector<std::string_view> m_turns;
    std::size_t m_next = 0;
};

// A connection to the scripted server: what it sends completes lines that the script answers,
// and it ends, as a server that hangs up, when the script has nothing more to say.
class ScriptedSocket : public vmime::net::socket {
public:
    ScriptedSocket(std::shared_ptr<Script> script, std::shared_ptr<vmime::net::timeoutHandler> th)
        : m_script(std::move(script)), m_timeoutHandler(std::move(th)) {}

    void connect(const vmime::string&, const vmime::port_t) override {
        m_connected = true;
        m_pending = m_script->next("*");
    }
    void disconnect() override { m_connected = false; }
    bool isConnected() const override { return m_connected; }
    bool waitForRead(const int) override { return true; }
    bool waitForWrite(const int) override { return true; }

    void receive(vmime::string& buffer) override {
        hangUpWhenDone();
        buffer.swap(m_pending);
        m_pending.clear();
    }
    std::size_t receiveRaw(vmime::byte_t* buffer, const std::size_t count) override {
        hangUpWhenDone();
        const std::size_t n = std::min(count, m_pending.size());
        std::memcpy(buffer, m_pending.data(), n);
        m_pending.erase(0, n);
        return n;
    }

    void send(const vmime::string& buffer) override { take(buffer); }
    void send(const char* str) override { take(str); }
    void sendRaw(const vmime::byte_t* buffer, const std::size_t count) override {
        take(std::string_view(reinterpret_cast<const char*>(buffer), count));
    }
    std::size_t sendRawNonBlocking(const vmime::byte_t* buffer, const std::size_t count) override {
        sendRaw(buffer, count);
        return count;
    }

    std::size_t getBlockSize() const override { return 16384; }
    unsigned int getStatus() const override { return 0; }
    const vmime::string getPeerName() const override { return "localhost"; }
    const vmime::string getPeerAddress() const override { return "127.0.0.1"; }
    std::shared_ptr<vmime::net::timeoutHandler> getTimeoutHandler() override {
        return m_timeoutHandler;
    }
    void setTracer(std::shared_ptr<vmime::net::tracer> tracer) override { m_tracer = tracer; }
    std::shared_ptr<vmime::net::tracer> getTracer() override { return m_tracer; }

private:
    void hangUpWhenDone() {
        if (m_pending.empty() || !m_connected) {
            m_connected = false;
            throw vmime::exceptions::socket_exception("the scripted server hung up");
        }
    }

    void take(std::string_view bytes) {
        m_sent.append(bytes);
        for (std::size_t end = m_sent.find("\r\n"); end != std::string::npos;
             end = m_sent.find("\r\n")) {
            const std::string line = m_sent.substr(0, end);
            m_sent.erase(0, end + 2);
            m_pending += m_script->next(line.substr(0, line.find(' ')));
        }
    }

    std::shared_ptr<Script> m_script;
    std::shared_ptr<vmime::net::timeoutHandler> m_timeoutHandler;
    std::shared_ptr<vmime::net::tracer> m_tracer;
    bool m_connected = false;
    std::string m_pending;
    std::string m_sent;
};

class ScriptedSockets : public vmime::net::socketFactory {
public:
    explicit ScriptedSockets(std::shared_ptr<Script> script) : m_script(std::move(script)) {}
    std::shared_ptr<vmime::net::socket> create() override { return create(nullptr); }
    std::shared_ptr<vmime::net::socket>
    create(std::shared_ptr<vmime::net::timeoutHandler> th) override {
        return std::make_shared<ScriptedSocket>(m_script, std::move(th));
    }

private:
    std::shared_ptr<Script> m_script;
};

// "UIDVALIDITY.UID", both decimal.
bool isIdentifier(const std::string& id) {
    const std::size_t dot = id.find('.');
    return id.size() < 512 && dot != std::string::npos && dot > 0 && dot + 1 < id.size() &&
           id.find_first_not_of("0123456789", 0) == dot &&
           id.find_first_not_of("0123456789", dot + 1) == std::string::npos;
}

bool isUtf8(const mail::ReceivedMail& m) {
    return vsolo::fuzz::isUtf8(m.subject) && vsolo::fuzz::isUtf8(m.noteText) &&
           vsolo::fuzz::isUtf8(m.messageType) && vsolo::fuzz::isUtf8(m.fromName) &&
           vsolo::fuzz::isUtf8(m.fromAddress);
}

} // namespace

// VMime 0.9.2 loses what it had parsed of a reply whose rest is malformed, deep in its recursive
// parser, where the stack shows nothing but VMime's frames; a leak that is not VMime's still ends
// the run.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libvmime.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto script =
        std::make_shared<Script>(std::string_view(reinterpret_cast<const char*>(data), size));
    mail::MailProfile profile;
    profile.store = {mail::Endpoint::Scheme::Imap, "", "tester", "127.0.0.1", 143};
    auto store = mail::net::makeImapStore(profile, mail::net::TlsPolicy{},
                                          std::make_shared<ScriptedSockets>(script));
    if (store->open("secret") != mail::code::kSuccess)
        return 0;
    std::vector<std::string> ids;
    if (store->findByType("Transaction file", ids) == mail::code::kSuccess) {
        for (std::size_t i = 0; i < ids.size() && i < 3; ++i) {
            require(isIdentifier(ids[i]));
            mail::ReceivedMail whole;
            if (store->read(ids[i], true, whole) == mail::code::kSuccess)
                require(whole.noteText.size() <= mail::kMaxMessageSize && isUtf8(whole));
            mail::ReceivedMail envelope;
            if (store->readEnvelope(ids[i], envelope) == mail::code::kSuccess)
                require(envelope.noteText.empty() && isUtf8(envelope));
        }
        if (!ids.empty())
            store->remove(ids.front());
    }
    store->close();
    return 0;
}
