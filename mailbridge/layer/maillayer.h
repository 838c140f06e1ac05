#pragma once

#include "mailbridge/parse/profiles.h"

#include <chrono>
#include <cstddef>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vsolo::mail {

// The result codes of the mail layer carry the values of Simple MAPI, so that the exports pass
// them on unchanged.
namespace code {
inline constexpr unsigned long kSuccess = 0;
inline constexpr unsigned long kFailure = 2;      // no connection, a broken one, a bad reply
inline constexpr unsigned long kLoginFailure = 3; // refused or not allowed (clear text)
inline constexpr unsigned long kDiskFull = 4;
inline constexpr unsigned long kInsufficientMemory = 5;
inline constexpr unsigned long kUnknownRecipient = 14;
inline constexpr unsigned long kNoMessages = 16;
inline constexpr unsigned long kInvalidMessage = 17; // also: a message over kMaxMessageSize
inline constexpr unsigned long kInvalidSession = 19;
inline constexpr unsigned long kInvalidRecipients = 25; // a sender or recipient not one address
} // namespace code

// The largest message the layer reads; a bigger one is refused without being read whole.
inline constexpr std::size_t kMaxMessageSize = 4 * 1024 * 1024;
// How long a connection attempt or a reply may take.
inline constexpr std::chrono::seconds kNetworkTimeout{30};

// A message as the exports send it: one sender and the recipients its To and Cc fields show,
// each a name and an address that parseMailAddress accepts ("local@domain"). Blind copies are not
// in the message: they are only among the addresses its transport is given.
struct OutgoingMail {
    std::string subject;
    std::string noteText;
    std::string messageType; // goes into X-Message-Type; empty: no such header
    std::string fromName;
    std::string fromAddress;
    std::vector<std::pair<std::string, std::string>> to; // name and address of each
    std::vector<std::pair<std::string, std::string>> cc;
};

// A message as read from a store. Texts are UTF-8.
struct ReceivedMail {
    std::string subject;
    std::string noteText;    // the first text/plain part, transfer encoding and charset decoded
    std::string messageType; // X-Message-Type, "" when absent
    std::string fromName;
    std::string fromAddress;
    std::vector<std::pair<std::string, std::string>> to; // name and address of each recipient
    std::time_t received = 0; // the store's received time (IMAP INTERNALDATE, Maildir delivery)
    bool unread = true;
};

// The RFC 5322 text of a message: From, To, Subject, Date (of `now`), Message-ID (`messageId`,
// without angle brackets), X-Message-Type when set, and the note text as a text/plain UTF-8
// quoted-printable body.
std::string composeMessage(const OutgoingMail& mail, std::time_t now, std::string_view messageId);

// Reads a raw RFC 5322 message into `out` (all but `received` and `unread`); false when it is
// not a message. Any input is safe: this is the parser of untrusted mail. Running out of memory
// throws std::bad_alloc rather than give another text than the message holds.
bool decodeMessage(std::string_view raw, ReceivedMail& out);

// Reads only the top-level header of a raw message (or a header block alone) into `out`:
// subject, message type, sender and recipients; the note text stays empty. Meant for messages
// that decodeMessage refuses for their size, their nesting or their body, so it looks at no more
// than kMaxMessageSize bytes and leaves out a field nested too deeply to parse safely. False
// when no header field is found. Any input is safe.
bool decodeEnvelope(std::string_view raw, ReceivedMail& out);
// The X-Message-Type of a message's top-level header as decodeEnvelope reads it, "" when there
// is none: what a store lists a message by.
std::string decodeMessageType(std::string_view header);

// A mailbox: a Maildir folder or the INBOX of an IMAP server. Identifiers are opaque texts
// shorter than 512 bytes, stable while the store is open.
class MailStore {
public:
    virtual ~MailStore() = default;

    // Connects and authenticates (nothing to do for a Maildir but to check that it is one).
    virtual unsigned long open(const std::string& password) = 0;
    // The messages whose X-Message-Type equals `type`, oldest first by received time.
    virtual unsigned long findByType(const std::string& type, std::vector<std::string>& ids) = 0;
    // Reads one message; `peek` leaves it unread. kInvalidMessage for one that is too big or
    // cannot be decoded, kFailure for an identifier that names no message.
    virtual unsigned long read(const std::string& id, bool peek, ReceivedMail& out) = 0;
    // Reads the top-level header alone (decodeEnvelope) with the received time and the unread
    // flag, and never marks the message read: this works for a message that read refuses as
    // kInvalidMessage. kFailure for an identifier that names no message.
    virtual unsigned long readEnvelope(const std::string& id, ReceivedMail& out) = 0;
    // Removes the message for good (IMAP: marks it deleted and expunges it alone where the server
    // can, else leaves it marked; a message marked deleted is no longer found or read).
    virtual unsigned long remove(const std::string& id) = 0;
    virtual void close() = 0;

    // Why the last open failed, in words the user is shown after the code's own text ("the
    // server refused the user name or password"); "" when it gave none.
    const std::string& failureCause() const { return m_failureCause; }

protected:
    void setFailureCause(std::string cause) { m_failureCause = std::move(cause); }

private:
    std::string m_failureCause;
};

// Sends a composed message.
class MailTransport {
public:
    virtual ~MailTransport() = default;

    // Sends to every address of `toAddresses` at once, or to none. kInvalidRecipients, with
    // nothing sent, when the sender or a recipient is not one address by parseMailAddress (or
    // there is no recipient); kUnknownRecipient when the server refuses a recipient,
    // kLoginFailure when it refuses the password or the password may not be sent (see
    // mayAuthenticate).
    virtual unsigned long send(const std::string& raw, const std::string& fromAddress,
                               const std::vector<std::string>& toAddresses,
                               const std::string& password) = 0;

    // Why the last send failed, in words the user is shown after the code's own text ("the
    // server 127.0.0.1 port 25 refused the connection"); "" when it gave none or the send went.
    const std::string& failureCause() const { return m_failureCause; }

protected:
    void setFailureCause(std::string cause) { m_failureCause = std::move(cause); }

private:
    std::string m_failureCause;
};

// The store and the transport of a profile; never null.
std::unique_ptr<MailStore> makeStore(const MailProfile& profile);
std::unique_ptr<MailTransport> makeTransport(const MailProfile& profile);

} // namespace vsolo::mail
