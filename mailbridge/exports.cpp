// The C exports of the mail bridge over the session in bridge.h.

#include "mailbridge/bridge.h"
#include "mailbridge/composer.h"
#include "mailbridge/osxmapi.h"
#include "mailbridge/parse/mailaddress.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <optional>
#include <string>
#include <strings.h>
#include <vector>

namespace mail = vsolo::mail;
namespace code = vsolo::mail::code;

static_assert(code::kSuccess == SUCCESS_SUCCESS);
static_assert(code::kFailure == MAPI_E_FAILURE);
static_assert(code::kLoginFailure == MAPI_E_LOGIN_FAILURE);
static_assert(code::kDiskFull == MAPI_E_DISK_FULL);
static_assert(code::kInsufficientMemory == MAPI_E_INSUFFICIENT_MEMORY);
static_assert(code::kUnknownRecipient == MAPI_E_UNKNOWN_RECIPIENT);
static_assert(code::kNoMessages == MAPI_E_NO_MESSAGES);
static_assert(code::kInvalidMessage == MAPI_E_INVALID_MESSAGE);
static_assert(code::kInvalidSession == MAPI_E_INVALID_SESSION);
static_assert(code::kInvalidRecipients == MAPI_E_INVALID_RECIPS);
static_assert(sizeof(ULONG) == 4 && sizeof(FLAGS) == 4 && sizeof(LHANDLE) == sizeof(void*));

namespace {

mail::Bridge& bridge() {
    return mail::Bridge::instance();
}

std::string text(const char* p) {
    return p != nullptr ? p : "";
}

ULONG shown(unsigned long result, const std::string& cause = "") {
    return static_cast<ULONG>(bridge().shown(result, cause));
}

// What an export returns from its catch-all when something below it threw: the caller is a C
// program, which the exception would end. Out of memory has its own code, anything else is a
// failure. The box of an export that shows its errors may itself fail for want of memory.
ULONG failedCall(bool show) noexcept {
    ULONG result = MAPI_E_FAILURE;
    try {
        throw;
    } catch (const std::bad_alloc&) {
        result = MAPI_E_INSUFFICIENT_MEMORY;
    } catch (...) {
    }
    if (show) {
        try {
            shown(result);
        } catch (...) {
        }
    }
    return result;
}

// Addresses may come in the desktop mail form "SMTP:user@host".
std::string plainAddress(const char* address) {
    std::string a = text(address);
    if (a.size() >= 5 && strncasecmp(a.c_str(), "SMTP:", 5) == 0) {
        a.erase(0, 5);
    }
    return a;
}

ULONG presentInComposer(const std::string& address, const std::string& subject,
                        const std::string& noteText) {
    // An address that looks like an option would be taken for one.
    if (!address.empty() && address[0] == '-') {
        return shown(MAPI_E_INVALID_RECIPS);
    }
    const std::optional<std::string> program = mail::findOnPath("xdg-email");
    std::vector<std::string> arguments{"--subject", subject, "--body", noteText};
    if (!address.empty()) {
        arguments.push_back(address);
    }
    if (!program || !mail::startDetached(*program, arguments)) {
        return shown(MAPI_E_FAILURE);
    }
    return SUCCESS_SUCCESS;
}

// A sender or recipient as the caller gave it: its class, its name and its address with
// "SMTP:" taken off. A name that is only the address again (the tracker gives its setting as
// both) is no name: the address's own display name stands instead.
struct Party {
    Party(ULONG kind, const char* givenName, const char* givenAddress)
        : recipClass(kind), name(text(givenName) == text(givenAddress) ? "" : text(givenName)),
          address(plainAddress(givenAddress)) {}

    ULONG recipClass;
    std::string name;
    std::string address;
};

std::string shownName(const Party& party, const mail::MailAddress& address) {
    return party.name.empty() ? address.displayName : party.name;
}

// Sends one message from the sender to every recipient at once: To and Cc as its fields show
// them, blind copies in the envelope only. Every address is checked before anything is sent, and
// the message goes to exactly the address written (the one inside the angle brackets of
// "Name <address>"), or to nobody.
ULONG sendToAll(mail::OutgoingMail mail, const Party& from, const std::vector<Party>& recipients) {
    if (!bridge().hasSession()) {
        return shown(MAPI_E_INVALID_SESSION);
    }
    if (recipients.empty()) {
        return shown(MAPI_E_INVALID_RECIPS, std::string(mail::kNoRecipientCause));
    }
    const std::optional<mail::MailAddress> sender = mail::parseMailAddress(from.address);
    if (!sender) {
        return shown(MAPI_E_INVALID_RECIPS, mail::refusedAddressCause(from.address, true));
    }
    mail.fromName = shownName(from, *sender);
    mail.fromAddress = sender->addrSpec();
    std::vector<std::string> envelope;
    for (const Party& recipient : recipients) {
        const std::optional<mail::MailAddress> address = mail::parseMailAddress(recipient.address);
        if (!address) {
            return shown(MAPI_E_INVALID_RECIPS,
                         mail::refusedAddressCause(recipient.address, false));
        }
        if (recipient.recipClass == MAPI_TO) {
            mail.to.emplace_back(shownName(recipient, *address), address->addrSpec());
        } else if (recipient.recipClass == MAPI_CC) {
            mail.cc.emplace_back(shownName(recipient, *address), address->addrSpec());
        } else if (recipient.recipClass != MAPI_BCC) {
            return shown(MAPI_E_BAD_RECIPTYPE);
        }
        envelope.push_back(address->addrSpec());
    }
    const unsigned long result = bridge().send(mail, envelope);
    return shown(result, bridge().failureCause());
}

// "YYYY/MM/DD HH:MM" in local time.
std::string dateReceived(std::time_t when) {
    std::tm local{};
    char out[32] = {};
    if (::localtime_r(&when, &local) == nullptr ||
        std::strftime(out, sizeof out, "%Y/%m/%d %H:%M", &local) == 0) {
        return "";
    }
    return out;
}

// A read message in one block: the MapiMessage, its originator, its recipients, then the texts.
// The block is freed whole by mapiFreeBuffer.
class MessageBlock {
public:
    explicit MessageBlock(const mail::ReceivedMail& m, bool envelopeOnly) : m_mail(m) {
        m_date = dateReceived(m.received);
        m_note = envelopeOnly ? "" : m.noteText;
    }

    MapiMessage* build() const {
        const std::size_t recips = m_mail.to.size();
        std::size_t textBytes = m_mail.subject.size() + m_note.size() + m_mail.messageType.size() +
                                m_date.size() + m_mail.fromName.size() + m_mail.fromAddress.size() +
                                6;
        for (const auto& [name, address] : m_mail.to) {
            textBytes += name.size() + address.size() + 2;
        }
        const std::size_t head = sizeof(MapiMessage) + (1 + recips) * sizeof(MapiRecipDesc);
        char* block = static_cast<char*>(std::malloc(head + textBytes));
        if (block == nullptr) {
            return nullptr;
        }
        char* next = block + head;
        auto put = [&next](const std::string& s) {
            char* at = next;
            std::memcpy(at, s.c_str(), s.size() + 1);
            next += s.size() + 1;
            return at;
        };
        auto* message = new (block) MapiMessage{};
        auto* originator = new (block + sizeof(MapiMessage)) MapiRecipDesc{};
        MapiRecipDesc* recipients = originator + 1;
        message->lpszSubject = put(m_mail.subject);
        message->lpszNoteText = put(m_note);
        message->lpszMessageType = put(m_mail.messageType);
        message->lpszDateReceived = put(m_date);
        message->flFlags = m_mail.unread ? MAPI_UNREAD : 0;
        originator->ulRecipClass = MAPI_ORIG;
        originator->lpszName = put(m_mail.fromName);
        originator->lpszAddress = put(m_mail.fromAddress);
        message->lpOriginator = originator;
        for (std::size_t i = 0; i < recips; ++i) {
            auto* r = new (recipients + i) MapiRecipDesc{};
            r->ulRecipClass = MAPI_TO;
            r->lpszName = put(m_mail.to[i].first);
            r->lpszAddress = put(m_mail.to[i].second);
        }
        message->nRecipCount = static_cast<ULONG>(recips);
        message->lpRecips = recips > 0 ? recipients : nullptr;
        return message;
    }

private:
    const mail::ReceivedMail& m_mail;
    std::string m_date;
    std::string m_note;
};

} // namespace

// Every export that can meet an exception ends in a catch-all, so that none leaves the library
// for the C program that called it: out of memory gives MAPI_E_INSUFFICIENT_MEMORY, anything else
// a failure. Those that cannot throw (setting the hook or the flag, freeing a block, the getters)
// have none.
extern "C" {

void osxSetUserInterface(const OSxUserInterface* ui) {
    bridge().setUserInterface(ui);
}

int InitMAPI(void) try {
    const bool loaded = bridge().loadProfiles();
    return loaded ? 1 : 0;
} catch (...) {
    return 0;
}

const char* osxInitFailure(void) try {
    return bridge().initFailure().c_str();
} catch (...) {
    return "";
}

int DeInitMAPI(void) try {
    bridge().reset();
    return 1;
} catch (...) {
    return 0;
}

ULONG mapiLogon(LHANDLE, const char* profile, const char* password, FLAGS flags) try {
    bridge().setLastFlags(flags);
    const std::string name = text(profile);
    std::string secret = text(password);
    if (secret.empty() && (flags & (MAPI_LOGON_UI | MAPI_PASSWORD_UI)) != 0 &&
        bridge().wantsPassword(name)) {
        if (std::optional<std::string> asked = bridge().askPassword(bridge().profileLabel(name))) {
            secret = std::move(*asked);
        }
    }
    const unsigned long result = bridge().logon(name, secret);
    return shown(result, bridge().failureCause());
} catch (...) {
    return failedCall(true);
}

ULONG mapiLogonEx(LHANDLE, const char* profile, const char* password, FLAGS flags) try {
    bridge().setLastFlags(flags);
    if (bridge().hasSession()) {
        return SUCCESS_SUCCESS;
    }
    const std::string name = text(profile);
    const unsigned long result = bridge().logon(name, text(password));
    // Asking is worth it only when the server of a profile there refused the password.
    if (result != code::kLoginFailure || !bridge().canAskPassword() ||
        !bridge().wantsPassword(name)) {
        return static_cast<ULONG>(result);
    }
    const std::optional<std::string> asked = bridge().askPassword(bridge().profileLabel(name));
    if (!asked) {
        return static_cast<ULONG>(result);
    }
    return static_cast<ULONG>(bridge().logon(name, *asked));
} catch (...) {
    return failedCall(false);
}

ULONG mapiLogoff(LHANDLE, FLAGS flags) try {
    bridge().setLastFlags(flags);
    if (!bridge().hasSession()) {
        return shown(MAPI_E_INVALID_SESSION);
    }
    bridge().logoff();
    return SUCCESS_SUCCESS;
} catch (...) {
    return failedCall(true);
}

ULONG mapiSendMail(LHANDLE, const MapiMessage* message, FLAGS flags) try {
    bridge().setLastFlags(flags);
    if (message == nullptr || (message->nRecipCount > 0 && message->lpRecips == nullptr)) {
        return shown(MAPI_E_INVALID_MESSAGE);
    }
    std::vector<Party> recipients;
    for (ULONG i = 0; i < message->nRecipCount; ++i) {
        const MapiRecipDesc& r = message->lpRecips[i];
        recipients.emplace_back(r.ulRecipClass, r.lpszName, r.lpszAddress);
    }
    if ((flags & MAPI_DIALOG) != 0) {
        const auto to = std::find_if(recipients.begin(), recipients.end(),
                                     [](const Party& r) { return r.recipClass == MAPI_TO; });
        return presentInComposer(to == recipients.end() ? "" : to->address,
                                 text(message->lpszSubject), text(message->lpszNoteText));
    }
    mail::OutgoingMail mail;
    mail.subject = text(message->lpszSubject);
    mail.noteText = text(message->lpszNoteText);
    mail.messageType = text(message->lpszMessageType);
    const MapiRecipDesc* originator = message->lpOriginator;
    const Party from(MAPI_ORIG, originator != nullptr ? originator->lpszName : nullptr,
                     originator != nullptr ? originator->lpszAddress : nullptr);
    return sendToAll(std::move(mail), from, recipients);
} catch (...) {
    return failedCall(true);
}

ULONG mapiSendMailEx(LHANDLE, FLAGS flags, const char* subject, const char* noteText,
                     const char* messageType, const char* senderName, const char* senderAddress,
                     const char* recipientName, const char* recipientAddress) try {
    bridge().setLastFlags(flags);
    if ((flags & MAPI_DIALOG) != 0) {
        return presentInComposer(plainAddress(recipientAddress), text(subject), text(noteText));
    }
    mail::OutgoingMail mail;
    mail.subject = text(subject);
    mail.noteText = text(noteText);
    mail.messageType = text(messageType);
    return sendToAll(std::move(mail), Party(MAPI_ORIG, senderName, senderAddress),
                     {Party(MAPI_TO, recipientName, recipientAddress)});
} catch (...) {
    return failedCall(true);
}

ULONG mapiPresentEmailWithUI(LHANDLE, const char* address, const char* subject,
                             const char* noteText) try {
    return presentInComposer(plainAddress(address), text(subject), text(noteText));
} catch (...) {
    return failedCall(true);
}

ULONG mapiFindNext(LHANDLE, const char* messageType, const char* seed, FLAGS flags,
                   char* messageId) try {
    bridge().setLastFlags(flags);
    if (messageId == nullptr) {
        return shown(MAPI_E_FAILURE);
    }
    if (!bridge().hasSession()) {
        return shown(MAPI_E_INVALID_SESSION);
    }
    std::string id;
    // The seed is copied first: the caller may pass the same buffer for both.
    const unsigned long result = bridge().findNext(text(messageType), text(seed), id);
    if (result != code::kSuccess) {
        return shown(result);
    }
    if (id.size() >= OSX_MESSAGE_ID_SIZE) {
        return shown(MAPI_E_FAILURE);
    }
    std::memcpy(messageId, id.c_str(), id.size() + 1);
    return SUCCESS_SUCCESS;
} catch (...) {
    return failedCall(true);
}

ULONG mapiReadMail(LHANDLE, const char* messageId, FLAGS flags, MapiMessage** message) try {
    bridge().setLastFlags(flags);
    if (message == nullptr) {
        return shown(MAPI_E_FAILURE);
    }
    *message = nullptr;
    if (!bridge().hasSession()) {
        return shown(MAPI_E_INVALID_SESSION);
    }
    mail::ReceivedMail received;
    // An envelope comes from the header alone, so that it can be read of a message whose whole
    // read is refused; reading it marks nothing.
    const bool envelopeOnly = (flags & MAPI_ENVELOPE_ONLY) != 0;
    const unsigned long result =
        envelopeOnly ? bridge().readEnvelope(text(messageId), received)
                     : bridge().read(text(messageId), (flags & MAPI_PEEK) != 0, received);
    if (result != code::kSuccess) {
        return shown(result);
    }
    MapiMessage* block = MessageBlock(received, envelopeOnly).build();
    if (block == nullptr) {
        return shown(MAPI_E_INSUFFICIENT_MEMORY);
    }
    bridge().adopt(block);
    *message = block;
    return SUCCESS_SUCCESS;
} catch (...) {
    return failedCall(true);
}

ULONG mapiFreeBuffer(void* buffer) {
    if (buffer == nullptr) {
        return SUCCESS_SUCCESS;
    }
    // A pointer this library did not hand out, or one freed already, is refused, not freed.
    return bridge().release(buffer) ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}

ULONG mapiDeleteMail(LHANDLE, const char* messageId) try {
    return static_cast<ULONG>(bridge().remove(text(messageId)));
} catch (...) {
    return failedCall(false);
}

int mapiSuppressMessages(int suppress) {
    bridge().setSuppressed(suppress != 0);
    return suppress;
}

const char* osxFailureCause(void) {
    return bridge().failureCause().c_str();
}

int msgParseMessage(char* buffer, int columns) try {
    char empty[1] = {'\0'};
    // A failed parse keeps no cell, so the empty buffer is not referred to afterwards.
    return bridge().parser().parse(buffer != nullptr ? buffer : empty, columns) ==
                   mail::BodyParser::Outcome::Parsed
               ? 1
               : 0;
} catch (...) {
    return 0;
}

int msgGetRecordCount(void) {
    return bridge().parser().recordCount();
}

const char* msgGetMessageField(int row, int column) {
    return bridge().parser().field(row, column);
}

const char* msgGetResourceName(void) {
    return bridge().parser().resourceName();
}

int DLLUpdateRemote(const char* file, const char* profile, const char* password) try {
    return mail::updateRemote(file, profile, password);
} catch (...) {
    failedCall(true);
    return 0;
}

int Debug(void) try {
    int answer = OSX_IDOK;
    for (std::size_t slot = 0; slot < 200; ++slot) {
        answer = bridge().messageBox(bridge().parser().slot(slot), "Test", OSX_MB_OK);
    }
    return answer;
} catch (...) {
    return 0;
}

} // extern "C"
