#include "mailbridge/bridge.h"
#include "mailbridge/parse/errortexts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace vsolo::mail {
namespace {

// Unique across processes and hosts and within one: the time, the process, a counter, the host.
std::string uniqueMessageId(std::time_t now) {
    static unsigned long counter = 0;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') {
        std::strcpy(host, "localhost");
    }
    return std::to_string(now) + "." + std::to_string(::getpid()) + "." +
           std::to_string(++counter) + "@" + host;
}

} // namespace

Bridge& Bridge::instance() {
    static Bridge bridge;
    return bridge;
}

Bridge::~Bridge() {
    for (void* block : m_blocks) {
        std::free(block);
    }
    if (m_store) {
        m_store->close();
    }
}

void Bridge::setUserInterface(const OSxUserInterface* ui) {
    m_ui = ui != nullptr && ui->messageBox != nullptr ? *ui : OSxUserInterface{};
}

int Bridge::messageBox(const std::string& text, const char* caption, unsigned style) {
    if (m_ui.messageBox != nullptr) {
        return m_ui.messageBox(m_ui.context, text.c_str(), caption, style);
    }
    std::fprintf(stderr, "%s: %s\n", caption, text.c_str());
    std::fflush(stderr);
    return OSX_IDOK;
}

std::optional<std::string> Bridge::askPassword(const std::string& profile) {
    if (m_ui.askPassword == nullptr) {
        return std::nullopt;
    }
    std::vector<char> buffer(1024, '\0');
    if (m_ui.askPassword(m_ui.context, profile.c_str(), buffer.data(), buffer.size()) == 0) {
        return std::nullopt;
    }
    // A hook that forgot the terminator must not make us read past its buffer.
    buffer.back() = '\0';
    return std::string(buffer.data());
}

unsigned long Bridge::shown(unsigned long code, const std::string& cause) {
    if (code != code::kSuccess && !m_suppressed) {
        if (const std::optional<std::string> text = errorText(code, cause)) {
            messageBox(*text, "Error", OSX_MB_OK | OSX_MB_ICONERROR);
        }
    }
    return code;
}

bool Bridge::loadProfiles() {
    const char* home = std::getenv("HOME");
    m_home = home != nullptr ? home : "";
    m_initFailure.clear();
    ProfileBook book;
    const std::string path = profileBookPath(std::getenv("XDG_CONFIG_HOME"), m_home);
    const ProfileBook::Status status = book.load(path, m_home);
    if (status == ProfileBook::Status::Unreadable) {
        m_book.reset();
        m_initFailure = unusableBookText(path, book.problem());
        return false;
    }
    if (status == ProfileBook::Status::Read && book.othersCanWrite()) {
        messageBox(writableBookText(path), "Warning", OSX_MB_OK | OSX_MB_ICONWARNING);
    }
    m_book = std::move(book);
    return true;
}

void Bridge::reset() {
    logoff();
    m_book.reset();
}

unsigned long Bridge::logon(const std::string& profileName, const std::string& password) {
    m_failureCause.clear();
    if (!m_book) {
        return code::kFailure; // InitMAPI has not read the profiles
    }
    const std::optional<MailProfile> profile = m_book->find(profileName);
    if (!profile) {
        return code::kLoginFailure;
    }
    std::unique_ptr<MailStore> store = makeStore(*profile);
    const unsigned long result = store->open(password);
    if (result != code::kSuccess) {
        m_failureCause = store->failureCause();
        return result;
    }
    logoff();
    m_store = std::move(store);
    m_transport = makeTransport(*profile);
    m_password = password;
    return code::kSuccess;
}

bool Bridge::wantsPassword(const std::string& profileName) const {
    if (!m_book) {
        return false;
    }
    const std::optional<MailProfile> profile = m_book->find(profileName);
    return profile && profile->store.isNetwork();
}

std::string Bridge::profileLabel(const std::string& profileName) const {
    if (!profileName.empty() || !m_book) {
        return profileName;
    }
    const std::optional<MailProfile> profile = m_book->find(profileName);
    return profile ? profile->name : profileName;
}

void Bridge::logoff() {
    if (m_store) {
        m_store->close();
    }
    m_store.reset();
    m_transport.reset();
    m_password.clear();
    dropWalk();
}

void Bridge::dropWalk() {
    m_walkType.clear();
    m_walk.clear();
    m_walkNext = 0;
}

unsigned long Bridge::send(const OutgoingMail& mail, const std::vector<std::string>& envelope) {
    m_failureCause.clear();
    if (!m_transport) {
        return code::kInvalidSession;
    }
    const std::time_t now = std::time(nullptr);
    const unsigned long result = m_transport->send(composeMessage(mail, now, uniqueMessageId(now)),
                                                   mail.fromAddress, envelope, m_password);
    if (result != code::kSuccess) {
        m_failureCause = m_transport->failureCause();
    }
    return result;
}

unsigned long Bridge::findNext(const std::string& type, const std::string& seed, std::string& id) {
    if (!m_store) {
        return code::kInvalidSession;
    }
    std::size_t next = 0;
    const auto continues = [&](std::size_t at) {
        if (at == 0 || at > m_walk.size() || m_walk[at - 1] != seed) {
            return false;
        }
        next = at;
        return true;
    };
    const bool sameWalk = !seed.empty() && type == m_walkType;
    if (sameWalk && !continues(m_walkNext)) {
        const auto found = std::find(m_walk.begin(), m_walk.end(), seed);
        if (found != m_walk.end()) {
            next = static_cast<std::size_t>(found - m_walk.begin()) + 1;
        }
    }
    if (next == 0) {
        // A new walk: the first message, or the one after a seed that this listing has.
        std::vector<std::string> ids;
        if (const unsigned long result = m_store->findByType(type, ids); result != code::kSuccess) {
            return result;
        }
        m_walk = std::move(ids);
        m_walkType = type;
        if (!seed.empty()) {
            const auto found = std::find(m_walk.begin(), m_walk.end(), seed);
            if (found == m_walk.end()) {
                return code::kInvalidMessage;
            }
            next = static_cast<std::size_t>(found - m_walk.begin()) + 1;
        }
    }
    m_walkNext = next + 1;
    if (next >= m_walk.size()) {
        return code::kNoMessages;
    }
    id = m_walk[next];
    return code::kSuccess;
}

unsigned long Bridge::read(const std::string& id, bool peek, ReceivedMail& out) {
    return m_store ? m_store->read(id, peek, out) : code::kInvalidSession;
}

unsigned long Bridge::readEnvelope(const std::string& id, ReceivedMail& out) {
    return m_store ? m_store->readEnvelope(id, out) : code::kInvalidSession;
}

unsigned long Bridge::remove(const std::string& id) {
    return m_store ? m_store->remove(id) : code::kInvalidSession;
}

void Bridge::adopt(void* block) {
    try {
        m_blocks.insert(block);
    } catch (...) {
        std::free(block);
        throw;
    }
}

bool Bridge::release(void* block) {
    if (m_blocks.erase(block) == 0) {
        return false;
    }
    std::free(block);
    return true;
}

} // namespace vsolo::mail
