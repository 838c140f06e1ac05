#pragma once

// The library's one session behind the C exports. Not part of the public interface: the exports
// in osxmapi.h are the only way in.

#include "mailbridge/layer/maillayer.h"
#include "mailbridge/osxmapi.h"
#include "mailbridge/parse/bodyparser.h"
#include "mailbridge/parse/profiles.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vsolo::mail {

// What a logon, a send, a search or a read needs across calls: the profiles read by InitMAPI,
// the open mailbox and the transport of the profile logged on to with its password, the listing
// of the search under way, the blocks handed out by reads, how boxes reach the user and the one
// body parser. All of it process-wide, as the exports are.
class Bridge {
public:
    static Bridge& instance();

    void setUserInterface(const OSxUserInterface* ui);
    // Shows a box through the hook, or writes "caption: text" to standard error without one.
    int messageBox(const std::string& text, const char* caption, unsigned style);
    bool canAskPassword() const { return m_ui.askPassword != nullptr; }
    std::optional<std::string> askPassword(const std::string& profile);
    // Shows the error box of a failing code, with the cause the mail layer gave after its text,
    // unless messages are suppressed; returns the code.
    unsigned long shown(unsigned long code, const std::string& cause = "");
    void setSuppressed(bool suppressed) { m_suppressed = suppressed; }

    // False when the profile file exists but cannot be read or parsed; initFailure() then tells
    // the user why. A file that others may write is used after a warning box.
    bool loadProfiles();
    const std::string& initFailure() const { return m_initFailure; }
    // Closes the session and forgets the profiles; the body parser keeps its table.
    void reset();

    // Opens the profile's mailbox with the password and makes its transport; on success the new
    // session replaces the one held, on failure the one held stays. No box.
    unsigned long logon(const std::string& profile, const std::string& password);
    bool hasSession() const { return m_store != nullptr; }
    // Whether the profile's mailbox is on a server, which may want a password.
    bool wantsPassword(const std::string& profile) const;
    // The profile name a password is asked for.
    std::string profileLabel(const std::string& profile) const;
    void logoff();

    // Sends the message to every address of the envelope (its To, Cc and blind copies) at once.
    unsigned long send(const OutgoingMail& mail, const std::vector<std::string>& envelope);
    // Why the last logon or send failed, as the mail layer said it; "" when it said nothing.
    const std::string& failureCause() const { return m_failureCause; }
    // The identifier after `seed` (the first for an empty seed) in the listing of the type. A
    // seed from the listing held continues it, so a walk keeps its order while messages are read
    // and deleted.
    unsigned long findNext(const std::string& type, const std::string& seed, std::string& id);
    unsigned long read(const std::string& id, bool peek, ReceivedMail& out);
    unsigned long readEnvelope(const std::string& id, ReceivedMail& out);
    unsigned long remove(const std::string& id);

    // The blocks of mapiReadMail: only a block handed out here is freed. A block that cannot be
    // taken in is freed before the failure goes on.
    void adopt(void* block);
    bool release(void* block);

    BodyParser& parser() { return m_parser; }
    void setLastFlags(FLAGS flags) { m_lastFlags = flags; }

    Bridge(const Bridge&) = delete;
    Bridge& operator=(const Bridge&) = delete;
    ~Bridge();

private:
    Bridge() = default;
    void dropWalk();

    OSxUserInterface m_ui{};
    bool m_suppressed = false;
    FLAGS m_lastFlags = 0;

    std::optional<ProfileBook> m_book;
    std::string m_home;
    std::string m_initFailure;
    std::unique_ptr<MailStore> m_store;
    std::unique_ptr<MailTransport> m_transport;
    std::string m_password;
    std::string m_failureCause;

    std::string m_walkType;
    std::vector<std::string> m_walk;
    std::size_t m_walkNext = 0; // where the last answer's successor is

    std::set<void*> m_blocks;
    BodyParser m_parser;
};

// DLLUpdateRemote, which the export runs inside its catch-all.
int updateRemote(const char* file, const char* profile, const char* password);

} // namespace vsolo::mail
