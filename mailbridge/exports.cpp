// The C exports of the mail bridge over the session in bridge.h.

#include "mailbridge/bridge.h"
#include "mailbridge/composer.h"
#include "mailbridge/osxmapi.h"

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
static_assert(sizeof(ULONG) == 4 && sizeof(FLAGS) == 4 && sizeof(LHANDLE) == sizeof(void*));

namespace {

mail::Bridge& bridge() {
    return mail::Bridge::instance();
}

std::string text(const char* p) {
    return p != nullptr ? p : "";
}

ULONG shown(unsigned long result) {
    return static_cast<ULONG>(bridge().shown(result));
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

// Sends one message to each recipient in turn, each addressed to that recipient alone; the
// first failure ends it.
ULONG sendEach(mail::OutgoingMail mail,
               const std::vector<std::pair<std::string, std::string>>& recipients) {
    if (!bridge().hasSession()) {
        return shown(MAPI_E_INVALID_SESSION);
    }
    if (recipients.empty()) {
        return shown(MAPI_E_INVALID_RECIPS);
    }
    for (const auto& [name, address] : recipients) {
        if (address.empty()) {
            return shown(MAPI_E_INVALID_RECIPS);
        }
        mail.toName = name;
        mail.toAddress = address;
        if (const unsigned long result = bridge().send(mail, {address}); result != code::kSuccess) {
            return shown(result);
        }
    }
    return SUCCESS_SUCCESS;
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

extern "C" {

void osxSetUserInterface(const OSxUserInterface* ui) {
    bridge().setUserInterface(ui);
}

int InitMAPI(void) {
    return bridge().loadProfiles() ? 1 : 0;
}

const char* osxInitFailure(void) {
    return bridge().initFailure().c_str();
}

int DeInitMAPI(void) {
    bridge().reset();
    return 1;
}

ULONG mapiLogon(LHANDLE, const char* profile, const char* password, FLAGS flags) {
    bridge().setLastFlags(flags);
    const std::string name = text(profile);
    std::string secret = text(password);
    if (secret.empty() && (flags & (MAPI_LOGON_UI | MAPI_PASSWORD_UI)) != 0 &&
        bridge().wantsPassword(name)) {
        if (std::optional<std::string> asked = bridge().askPassword(bridge().profileLabel(name))) {
            secret = std::move(*asked);
        }
    }
    return shown(bridge().logon(name, secret));
}

ULONG mapiLogonEx(LHANDLE, const char* profile, const char* password, FLAGS flags) {
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
}

ULONG mapiLogoff(LHANDLE, FLAGS flags) {
    bridge().setLastFlags(flags);
    if (!bridge().hasSession()) {
        return shown(MAPI_E_INVALID_SESSION);
    }
    bridge().logoff();
    return SUCCESS_SUCCESS;
}

ULONG mapiSendMail(LHANDLE, const MapiMessage* message, FLAGS flags) {
    bridge().setLastFlags(flags);
    if (message == nullptr || (message->nRecipCount > 0 && message->lpRecips == nullptr)) {
        return shown(MAPI_E_INVALID_MESSAGE);
    }
    std::vector<std::pair<std::string, std::string>> recipients;
    for (ULONG i = 0; i < message->nRecipCount; ++i) {
        const MapiRecipDesc& r = message->lpRecips[i];
        if (r.ulRecipClass == MAPI_TO) {
            recipients.emplace_back(text(r.lpszName), plainAddress(r.lpszAddress));
        }
    }
    if ((flags & MAPI_DIALOG) != 0) {
        return presentInComposer(recipients.empty() ? "" : recipients.front().second,
                                 text(message->lpszSubject), text(message->lpszNoteText));
    }
    mail::OutgoingMail mail;
    mail.subject = text(message->lpszSubject);
    mail.noteText = text(message->lpszNoteText);
    mail.messageType = text(message->lpszMessageType);
    if (const MapiRecipDesc* from = message->lpOriginator) {
        mail.fromName = text(from->lpszName);
        mail.fromAddress = plainAddress(from->lpszAddress);
    }
    return sendEach(std::move(mail), recipients);
}

ULONG mapiSendMailEx(LHANDLE, FLAGS flags, const char* subject, const char* noteText,
                     const char* messageType, const char* senderName, const char* senderAddress,
                     const char* recipientName, const char* recipientAddress) {
    bridge().setLastFlags(flags);
    if ((flags & MAPI_DIALOG) != 0) {
        return presentInComposer(plainAddress(recipientAddress), text(subject), text(noteText));
    }
    mail::OutgoingMail mail;
    mail.subject = text(subject);
    mail.noteText = text(noteText);
    mail.messageType = text(messageType);
    mail.fromName = text(senderName);
    mail.fromAddress = plainAddress(senderAddress);
    return sendEach(std::move(mail), {{text(recipientName), plainAddress(recipientAddress)}});
}

ULONG mapiPresentEmailWithUI(LHANDLE, const char* address, const char* subject,
                             const char* noteText) {
    return presentInComposer(plainAddress(address), text(subject), text(noteText));
}

ULONG mapiFindNext(LHANDLE, const char* messageType, const char* seed, FLAGS flags,
                   char* messageId) {
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
}

ULONG mapiReadMail(LHANDLE, const char* messageId, FLAGS flags, MapiMessage** message) {
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
}

ULONG mapiFreeBuffer(void* buffer) {
    if (buffer == nullptr) {
        return SUCCESS_SUCCESS;
    }
    // A pointer this library did not hand out, or one freed already, is refused, not freed.
    return bridge().release(buffer) ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}

ULONG mapiDeleteMail(LHANDLE, const char* messageId) {
    return static_cast<ULONG>(bridge().remove(text(messageId)));
}

int mapiSuppressMessages(int suppress) {
    bridge().setSuppressed(suppress != 0);
    return suppress;
}

int msgParseMessage(char* buffer, int columns) {
    char empty[1] = {'\0'};
    // A failed parse keeps no cell, so the empty buffer is not referred to afterwards.
    return bridge().parser().parse(buffer != nullptr ? buffer : empty, columns) ==
                   mail::BodyParser::Outcome::Parsed
               ? 1
               : 0;
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

int Debug(void) {
    int answer = OSX_IDOK;
    for (std::size_t slot = 0; slot < 200; ++slot) {
        answer = bridge().messageBox(bridge().parser().slot(slot), "Test", OSX_MB_OK);
    }
    return answer;
}

} // extern "C"
