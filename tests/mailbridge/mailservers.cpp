#include "mailservers.h"

#include "tests/support/runprogram.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gnutls/gnutls.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Here, in the object every test that talks to the servers links, rather than beside the
// helpers some tests leave out: VMime 0.9.2 loses 16 bytes for each SELECT or EXAMINE reply it
// parses, whoever frees the reply (its own folder opening does the same). Nothing of ours is
// allocated below this frame, and the leak checker of the sanitizer build keeps checking everything
// else.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:vmime::net::imap::IMAPConnection::readResponse\n";
}

namespace fs = std::filesystem;

namespace vsolo::mail::testing {
namespace {

// Bounds of the waits for a server to come up and to go away.
constexpr auto kStartBound = std::chrono::seconds(20);
constexpr auto kStopBound = std::chrono::seconds(10);
constexpr auto kPollStep = std::chrono::milliseconds(50);

std::string findProgram(const std::string& name) {
    std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    path += ":/usr/sbin:/usr/bin:/sbin:/bin";
    std::stringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = folder + '/' + name;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return "";
}

std::string missingProgram(const std::string& name, const std::string& package) {
    return name + " is not installed (package " + package +
           "); the setup script installs it for these tests";
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        // A peer that went away is an error here, not a signal that ends the tests.
        const ssize_t put = ::send(fd, data, size, MSG_NOSIGNAL);
        if (put <= 0)
            return false;
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

// 127.0.0.1 at `port`; port 0 lets bind choose one.
sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int connectLoopback(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(port);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

} // namespace

// TLS from the first byte in front of a plain listener: it ends TLS with the certificate it is
// given and passes the bytes on unchanged, each connection on a thread of its own (an IMAP
// store holds two at once).
class MailServers::TlsRelay {
public:
    TlsRelay(const std::string& certFile, const std::string& keyFile, std::uint16_t target)
        : m_target(target) {
        if (gnutls_certificate_allocate_credentials(&m_credentials) != GNUTLS_E_SUCCESS ||
            gnutls_certificate_set_x509_key_file(m_credentials, certFile.c_str(), keyFile.c_str(),
                                                 GNUTLS_X509_FMT_PEM) != GNUTLS_E_SUCCESS)
            return;
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        socklen_t length = sizeof address;
        if (m_listener < 0 || pipe(m_stop) != 0 ||
            bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(m_listener, 4) != 0 ||
            getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { run(); });
    }

    ~TlsRelay() {
        if (m_thread.joinable()) {
            // The byte is never read, so that every wait of every thread sees it.
            [[maybe_unused]] const ssize_t woken = ::write(m_stop[1], "x", 1);
            m_thread.join();
            for (auto& connection : m_connections)
                connection.join();
        }
        for (const int fd : {m_listener, m_stop[0], m_stop[1]}) {
            if (fd >= 0)
                ::close(fd);
        }
        if (m_credentials != nullptr)
            gnutls_certificate_free_credentials(m_credentials);
    }

    std::uint16_t port() const { return m_port; }

private:
    bool stopping() const {
        pollfd stop{m_stop[0], POLLIN, 0};
        return poll(&stop, 1, 0) > 0;
    }

    void run() {
        while (true) {
            pollfd fds[2] = {{m_listener, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
            if (poll(fds, 2, -1) < 0 && errno != EINTR)
                return;
            if (fds[1].revents != 0)
                return;
            if (fds[0].revents == 0)
                continue;
            const int client = accept(m_listener, nullptr, nullptr);
            if (client >= 0) {
                m_connections.emplace_back([this, client] {
                    serve(client);
                    ::close(client);
                });
            }
        }
    }

    void serve(int client) {
        gnutls_session_t session = nullptr;
        if (gnutls_init(&session, GNUTLS_SERVER | GNUTLS_NO_SIGNAL) != GNUTLS_E_SUCCESS)
            return;
        gnutls_set_default_priority(session);
        gnutls_credentials_set(session, GNUTLS_CRD_CERTIFICATE, m_credentials);
        gnutls_transport_set_int(session, client);
        gnutls_handshake_set_timeout(session, 10000);
        int result = 0;
        do {
            result = gnutls_handshake(session);
        } while (result < 0 && gnutls_error_is_fatal(result) == 0);
        const int backend = result < 0 ? -1 : connectLoopback(m_target);
        if (backend >= 0) {
            relay(session, client, backend);
            gnutls_bye(session, GNUTLS_SHUT_WR);
            ::close(backend);
        }
        gnutls_deinit(session);
    }

    void relay(gnutls_session_t session, int client, int backend) {
        char buffer[16384];
        while (!stopping()) {
            pollfd fds[3] = {{client, POLLIN, 0}, {backend, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
            if (gnutls_record_check_pending(session) == 0 && poll(fds, 3, -1) < 0 && errno != EINTR)
                return;
            if (fds[2].revents != 0)
                return;
            if (gnutls_record_check_pending(session) > 0 || fds[0].revents != 0) {
                const ssize_t got = gnutls_record_recv(session, buffer, sizeof buffer);
                if (got == GNUTLS_E_AGAIN || got == GNUTLS_E_INTERRUPTED)
                    continue;
                if (got <= 0 || !writeAll(backend, buffer, static_cast<std::size_t>(got)))
                    return;
            }
            if (fds[1].revents != 0) {
                const ssize_t got = ::read(backend, buffer, sizeof buffer);
                if (got <= 0)
                    return;
                for (ssize_t sent = 0; sent < got;) {
                    const ssize_t put = gnutls_record_send(session, buffer + sent,
                                                           static_cast<std::size_t>(got - sent));
                    if (put == GNUTLS_E_AGAIN || put == GNUTLS_E_INTERRUPTED)
                        continue;
                    if (put <= 0)
                        return;
                    sent += put;
                }
            }
        }
    }

    gnutls_certificate_credentials_t m_credentials = nullptr;
    int m_listener = -1;
    int m_stop[2] = {-1, -1};
    std::uint16_t m_target;
    std::uint16_t m_port = 0;
    std::thread m_thread;
    std::vector<std::thread> m_connections;
};

// Loopback ports that were free a moment ago, all different: each is bound at the same time
// and released only when all are known. A port that could not be had is 0.
std::vector<std::uint16_t> MailServers::freePorts(std::size_t count) {
    std::vector<int> sockets;
    std::vector<std::uint16_t> ports;
    for (std::size_t i = 0; i < count; ++i) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        socklen_t length = sizeof address;
        std::uint16_t port = 0;
        if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        if (fd >= 0)
            sockets.push_back(fd);
        ports.push_back(port);
    }
    for (const int fd : sockets)
        ::close(fd);
    return ports;
}

std::uint16_t MailServers::closedPort() {
    return freePorts(1).front();
}

MailServers::MailServers() {
    char pattern[] = "/tmp/vsolo-mail-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        m_setupError = "cannot make a temporary folder";
        return;
    }
    m_folder = pattern;
    // The servers' own users must reach the files below.
    chmod(m_folder.c_str(), 0755);

    // Dovecot refuses to serve mail as root; the mail belongs to its own unprivileged user.
    const passwd* mailUser = getpwnam("dovecot");
    if (mailUser == nullptr)
        mailUser = getpwnam("nobody");
    if (mailUser == nullptr) {
        m_setupError = "neither the user dovecot nor nobody exists";
        return;
    }
    m_mailUid = mailUser->pw_uid;
    m_mailGid = mailUser->pw_gid;
    m_maildir = m_folder + "/Maildir";
    for (const char* sub : {"", "/cur", "/new", "/tmp"}) {
        const std::string path = m_maildir + sub;
        if (mkdir(path.c_str(), 0700) != 0 || chown(path.c_str(), m_mailUid, m_mailGid) != 0) {
            m_setupError = "cannot make the Maildir " + path;
            return;
        }
    }

    m_certFile = m_folder + "/localhost.pem";
    m_keyFile = m_folder + "/localhost.key";
    m_setupError =
        makeCertificate("localhost", "DNS:localhost,IP:127.0.0.1", m_certFile, m_keyFile);
}

std::string MailServers::makeCertificate(const std::string& name, const std::string& altNames,
                                         const std::string& certFile,
                                         const std::string& keyFile) const {
    const std::string openssl = findProgram("openssl");
    if (openssl.empty())
        return missingProgram("openssl", "openssl");
    const auto made = vsolo::testing::runProgram(
        openssl,
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", keyFile, "-out", certFile,
         "-days", "2", "-subj", "/CN=" + name, "-addext", "subjectAltName=" + altNames},
        m_folder);
    if (made.exitCode != 0)
        return "openssl could not make the certificate for " + name + ": " + made.err;
    chmod(keyFile.c_str(), 0600);
    return "";
}

std::string MailServers::startMisnamedImaps() {
    if (!m_setupError.empty())
        return m_setupError;
    if (m_imapPort == 0)
        return "the plain IMAP server is not running";
    m_misnamedCaFile = m_folder + "/elsewhere.pem";
    const std::string key = m_folder + "/elsewhere.key";
    const std::string error =
        makeCertificate("elsewhere.test", "DNS:elsewhere.test", m_misnamedCaFile, key);
    if (!error.empty())
        return error;
    m_misnamedRelay = std::make_unique<TlsRelay>(m_misnamedCaFile, key, m_imapPort);
    if (m_misnamedRelay->port() == 0)
        return "the TLS relay in front of Dovecot could not start";
    return "";
}

std::uint16_t MailServers::misnamedImapsPort() const {
    return m_misnamedRelay ? m_misnamedRelay->port() : 0;
}

MailServers::~MailServers() {
    m_smtpRelay.reset();
    m_misnamedRelay.reset();
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        stop(*it);
    if (!m_folder.empty()) {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
}

std::string MailServers::write(const std::string& name, const std::string& text) const {
    const std::string path = m_folder + '/' + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    chmod(path.c_str(), 0644);
    return path;
}

std::string MailServers::startChild(const std::string& name, const std::vector<std::string>& argv,
                                    const std::vector<std::uint16_t>& ports) {
    for (const auto port : ports) {
        if (port == 0)
            return "no free loopback port for " + name;
    }
    Child child;
    child.name = name;
    child.log = m_folder + '/' + name + ".out";
    child.pid = fork();
    if (child.pid < 0)
        return "cannot start " + name;
    if (child.pid == 0) {
        // A group of its own, so that whatever the server starts can be stopped with it; and
        // a server whose test process dies goes with it.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int log = ::open(child.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
            ::close(log);
        }
        std::vector<char*> args;
        for (const auto& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    setpgid(child.pid, child.pid);
    m_children.push_back(child);

    const auto deadline = std::chrono::steady_clock::now() + kStartBound;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(child.pid, &status, WNOHANG) == child.pid) {
            m_children.back().pid = -1;
            return name + " stopped at once: " + readText(child.log);
        }
        bool all = true;
        for (const auto port : ports) {
            const int fd = all ? connectLoopback(port) : -1;
            all = fd >= 0;
            if (all)
                ::close(fd);
        }
        if (all)
            return "";
        std::this_thread::sleep_for(kPollStep);
    }
    return name + " did not open its ports in time: " + readText(child.log);
}

void MailServers::stop(Child& child) {
    if (child.pid <= 0)
        return;
    kill(child.pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopBound;
    bool ended = false;
    while (!ended && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        ended = waitpid(child.pid, &status, WNOHANG) == child.pid;
        if (!ended)
            std::this_thread::sleep_for(kPollStep);
    }
    // Whatever is left of the group, the server's own children included.
    kill(-child.pid, SIGKILL);
    if (!ended)
        waitpid(child.pid, nullptr, 0);
    child.pid = -1;
}

std::string MailServers::startDovecot(bool tls) {
    return tls ? launchDovecot("dovecot-tls", true, "", m_startTlsImapPort, &m_imapsPort)
               : launchDovecot("dovecot-plain", false, "", m_imapPort, nullptr);
}

std::string MailServers::startDovecotWithoutUidPlus(std::uint16_t& port) {
    return launchDovecot("dovecot-nouidplus", false, "imap_capability = IMAP4rev1 LITERAL+ IDLE\n",
                         port, nullptr);
}

std::string MailServers::launchDovecot(const std::string& name, bool tls, const std::string& extra,
                                       std::uint16_t& plainPortOut, std::uint16_t* tlsPortOut) {
    if (!m_setupError.empty())
        return m_setupError;
    const std::string dovecot = findProgram("dovecot");
    if (dovecot.empty())
        return missingProgram("dovecot", "dovecot-imapd");
    const std::string base = m_folder + '/' + name;
    fs::create_directories(base + "/run");
    fs::create_directories(base + "/state");
    const std::string users =
        write("imap-users", std::string(kUser) + ":{PLAIN}" + kPassword + "::::::\n");

    const auto free = freePorts(2);
    const std::uint16_t plainPort = free[0];
    const std::uint16_t tlsPort = tls ? free[1] : 0;
    std::ostringstream conf;
    conf << "base_dir = " << base << "/run\n"
         << "state_dir = " << base << "/state\n"
         << "log_path = " << base << "/dovecot.log\n"
         << "protocols = imap\n"
         << "listen = 127.0.0.1\n"
         << "auth_mechanisms = plain\n"
         << "auth_failure_delay = 0\n"
         << "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u " << users
         << "\n}\n"
         << "userdb {\n  driver = static\n  args = uid=" << m_mailUid << " gid=" << m_mailGid
         << " home=" << m_maildir << "\n}\n"
         << "mail_location = maildir:" << m_maildir << "\n"
         << "first_valid_uid = " << m_mailUid << "\n"
         << "first_valid_gid = " << m_mailGid << "\n"
         << extra;
    if (tls) {
        conf << "ssl = required\n"
             << "ssl_cert = <" << m_certFile << "\n"
             << "ssl_key = <" << m_keyFile << "\n"
             << "disable_plaintext_auth = yes\n";
    } else {
        conf << "ssl = no\n"
             << "disable_plaintext_auth = no\n";
    }
    conf << "service imap-login {\n"
         << "  inet_listener imap {\n    address = 127.0.0.1\n    port = " << plainPort << "\n  }\n"
         << "  inet_listener imaps {\n    address = 127.0.0.1\n    port = " << tlsPort
         << "\n    ssl = yes\n  }\n"
         << "}\n";
    const std::string config = write(name + ".conf", conf.str());
    std::vector<std::uint16_t> ports{plainPort};
    if (tls)
        ports.push_back(tlsPort);
    const std::string error = startChild(name, {dovecot, "-F", "-c", config}, ports);
    if (!error.empty())
        return error + readText(base + "/dovecot.log");
    plainPortOut = plainPort;
    if (tlsPortOut != nullptr)
        *tlsPortOut = tlsPort;
    return "";
}

std::string MailServers::startSmtpd() {
    if (!m_setupError.empty())
        return m_setupError;
    const std::string smtpd = findProgram("smtpd");
    if (smtpd.empty())
        return missingProgram("smtpd", "opensmtpd");
    const passwd* mailUser = getpwuid(m_mailUid);
    const std::string recipients = write("smtp-recipients", std::string(kAddress) + "\n");
    const std::string mapping =
        write("smtp-virtual", std::string(kAddress) + " " + mailUser->pw_name + "\n");

    const std::uint16_t plainPort = freePorts(1).front();
    std::ostringstream conf;
    conf << "table recipients file:" << recipients << "\n"
         << "table virtualusers file:" << mapping << "\n"
         << "listen on 127.0.0.1 port " << plainPort << "\n"
         << "action \"deliver\" maildir \"" << m_maildir << "\" virtual <virtualusers>\n"
         << "match from any for any rcpt-to <recipients> action \"deliver\"\n";
    const std::string config = write("smtpd.conf", conf.str());
    const std::string error = startChild("smtpd", {smtpd, "-d", "-f", config}, {plainPort});
    if (!error.empty())
        return error;
    m_smtpPort = plainPort;
    m_smtpRelay = std::make_unique<TlsRelay>(m_certFile, m_keyFile, plainPort);
    if (m_smtpRelay->port() == 0)
        return "the TLS relay in front of OpenSMTPD could not start";
    m_smtpsPort = m_smtpRelay->port();
    return "";
}

std::string MailServers::dovecotLog(bool tls) const {
    return readText(m_folder + (tls ? "/dovecot-tls" : "/dovecot-plain") + "/dovecot.log");
}

std::string MailServers::smtpdLog() const {
    return readText(m_folder + "/smtpd.out");
}

bool MailServers::deliver(const std::string& raw, std::time_t received, const std::string& flags) {
    const std::string name = std::to_string(received) + ".M" + std::to_string(++m_delivered) + "P" +
                             std::to_string(getpid()) + ".vsolotest";
    const std::string temporary = m_maildir + "/tmp/" + name;
    const std::string target =
        flags.empty() ? m_maildir + "/new/" + name : m_maildir + "/cur/" + name + ":2," + flags;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << raw;
        if (!out.flush())
            return false;
    }
    // Dovecot takes a Maildir message's received time from its file's modification time.
    const timeval times[2] = {{received, 0}, {received, 0}};
    return chown(temporary.c_str(), m_mailUid, m_mailGid) == 0 &&
           chmod(temporary.c_str(), 0600) == 0 && utimes(temporary.c_str(), times) == 0 &&
           rename(temporary.c_str(), target.c_str()) == 0;
}

std::size_t MailServers::messageFiles() const {
    std::size_t count = 0;
    for (const char* sub : {"/cur", "/new"}) {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(m_maildir + sub, ignored)) {
            if (entry.is_regular_file())
                ++count;
        }
    }
    return count;
}

} // namespace vsolo::mail::testing
