#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vsolo::mail::testing {

// Dovecot and OpenSMTPD on loopback for the tests, in a temporary folder of their own: a
// self-signed certificate for localhost and 127.0.0.1, one test user, and one Maildir that
// OpenSMTPD delivers into and Dovecot serves. The servers are child processes, stopped by the
// destructor. OpenSMTPD keeps its queue in a system folder, so only one process may run it.
class MailServers {
public:
    static constexpr const char* kUser = "tester";
    static constexpr const char* kPassword = "secret-Pa55";
    static constexpr const char* kAddress = "tester@localhost";

    MailServers();
    ~MailServers();
    MailServers(const MailServers&) = delete;
    MailServers& operator=(const MailServers&) = delete;

    // What went wrong setting up the folder, the user or the certificate; "" when nothing did.
    const std::string& setupError() const { return m_setupError; }

    // Each returns "" once the server answers on its ports, or what went wrong.
    // Plain IMAP without TLS on imapPort(); with `tls`, STARTTLS on startTlsImapPort() (plain
    // text logon refused before it) and TLS from the start on imapsPort().
    std::string startDovecot(bool tls);
    // Plain IMAP on `port`, without UIDPLUS among its capabilities.
    std::string startDovecotWithoutUidPlus(std::uint16_t& port);
    // Plain SMTP on smtpPort(), and TLS from the start on smtpsPort() in front of it. Only
    // kAddress is accepted as a recipient; there is no logon. OpenSMTPD's own TLS cannot be
    // used here: its key process fails every handshake with the OpenSSL 3 it is built on
    // ("EVP lib", "decryption failed"), for RSA and EC keys alike, and without TLS it offers no
    // logon. So the TLS on smtpsPort() is a relay's, and no SMTP logon is tested.
    std::string startSmtpd();

    // TLS from the start in front of the plain IMAP server (started first), with a certificate
    // for another host only; misnamedCaFile() trusts it.
    std::string startMisnamedImaps();
    std::uint16_t misnamedImapsPort() const;
    const std::string& misnamedCaFile() const { return m_misnamedCaFile; }

    std::uint16_t imapPort() const { return m_imapPort; }
    std::uint16_t startTlsImapPort() const { return m_startTlsImapPort; }
    std::uint16_t imapsPort() const { return m_imapsPort; }
    std::uint16_t smtpPort() const { return m_smtpPort; }
    std::uint16_t smtpsPort() const { return m_smtpsPort; }

    // What the servers wrote to their logs so far.
    std::string dovecotLog(bool tls) const;
    std::string smtpdLog() const;

    // The servers' certificate, which is also the file that makes a client trust it.
    const std::string& caFile() const { return m_certFile; }
    const std::string& folder() const { return m_folder; }

    // Puts a message straight into the Maildir as the mail user, with `received` as the time the
    // server reports for it; `flags` are those of a Maildir name ("S" read, "T" marked deleted),
    // none for a new message. False when it could not.
    bool deliver(const std::string& raw, std::time_t received, const std::string& flags = "");
    // The number of message files in the Maildir.
    std::size_t messageFiles() const;

    // A loopback port on which nothing listens.
    static std::uint16_t closedPort();
    static std::vector<std::uint16_t> freePorts(std::size_t count);

private:
    struct Child {
        pid_t pid = -1;
        std::string name;
        std::string log;
    };

    std::string makeCertificate(const std::string& name, const std::string& altNames,
                                const std::string& certFile, const std::string& keyFile) const;
    std::string write(const std::string& name, const std::string& text) const;
    std::string launchDovecot(const std::string& name, bool tls, const std::string& extra,
                              std::uint16_t& plainPort, std::uint16_t* tlsPort);
    std::string startChild(const std::string& name, const std::vector<std::string>& argv,
                           const std::vector<std::uint16_t>& ports);
    void stop(Child& child);

    std::string m_setupError;
    std::string m_folder;
    std::string m_certFile;
    std::string m_keyFile;
    std::string m_maildir;
    uid_t m_mailUid = 0;
    gid_t m_mailGid = 0;
    unsigned m_delivered = 0;
    std::uint16_t m_imapPort = 0, m_startTlsImapPort = 0, m_imapsPort = 0;
    std::uint16_t m_smtpPort = 0, m_smtpsPort = 0;
    class TlsRelay;
    std::unique_ptr<TlsRelay> m_smtpRelay;
    std::unique_ptr<TlsRelay> m_misnamedRelay;
    std::string m_misnamedCaFile;
    std::vector<Child> m_children;
};

} // namespace vsolo::mail::testing
