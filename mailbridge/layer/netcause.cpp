#include "mailbridge/layer/netsession.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vmime/security/cert/certificateExpiredException.hpp>
#include <vmime/security/cert/certificateNotYetValidException.hpp>
#include <vmime/security/cert/serverIdentityException.hpp>

namespace vsolo::mail::net {
namespace {

// How long the second look at a failed connection waits for an answer.
constexpr int kProbeMilliseconds = 5000;

std::uint16_t portOf(const Endpoint& endpoint) {
    if (endpoint.port != 0)
        return endpoint.port;
    switch (endpoint.scheme) {
    case Endpoint::Scheme::Imap:
        return 143;
    case Endpoint::Scheme::Imaps:
        return 993;
    case Endpoint::Scheme::Smtps:
        return 465;
    default:
        return 25;
    }
}

// "host" or "host port N", as the user wrote it into the profile.
std::string serverName(const Endpoint& endpoint) {
    return endpoint.port != 0 ? endpoint.host + " port " + std::to_string(endpoint.port)
                              : endpoint.host;
}

// What one plain connection attempt to the endpoint meets: the error of the last address tried
// (0 when one connects), or none when the name does not resolve. VMime's report of a failed
// connection cannot tell this: it names ETIMEDOUT for every address it tried, whatever the
// system said.
std::optional<int> connectionError(const Endpoint& endpoint) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(endpoint.host.c_str(), std::to_string(portOf(endpoint)).c_str(), &hints,
                      &found) != 0)
        return std::nullopt;
    int error = ETIMEDOUT;
    for (const addrinfo* a = found; a != nullptr && error != 0; a = a->ai_next) {
        const int fd =
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            error = errno;
            continue;
        }
        pollfd connecting{fd, POLLOUT, 0};
        socklen_t size = sizeof error;
        if (::connect(fd, a->ai_addr, a->ai_addrlen) == 0)
            error = 0;
        else if (errno != EINPROGRESS)
            error = errno;
        else if (::poll(&connecting, 1, kProbeMilliseconds) != 1 ||
                 ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
            error = ETIMEDOUT;
        ::close(fd);
    }
    ::freeaddrinfo(found);
    return error;
}

std::string connectionCause(const Endpoint& endpoint) {
    const std::string server = serverName(endpoint);
    const std::optional<int> error = connectionError(endpoint);
    if (!error)
        return "the server name " + endpoint.host + " could not be found";
    switch (*error) {
    case ECONNREFUSED:
        return "the server " + server + " refused the connection";
    case ETIMEDOUT:
        return "the server " + server + " did not answer";
    case ENETUNREACH:
    case EHOSTUNREACH:
        return "the server " + server + " cannot be reached";
    case 0:
        return "no connection could be made to " + server;
    default:
        return "no connection could be made to " + server + " (" + std::strerror(*error) + ")";
    }
}

} // namespace

std::string failureCause(const vmime::exception& error, const Endpoint& endpoint) {
    namespace cert = vmime::security::cert;
    namespace failure = vmime::exceptions;
    const std::string server = serverName(endpoint);
    for (const vmime::exception* e = &error; e != nullptr; e = e->other()) {
        if (dynamic_cast<const cert::serverIdentityException*>(e) != nullptr)
            return "the certificate of " + server + " is made out to another host";
        if (dynamic_cast<const cert::certificateExpiredException*>(e) != nullptr)
            return "the certificate of " + server + " has expired";
        if (dynamic_cast<const cert::certificateNotYetValidException*>(e) != nullptr)
            return "the certificate of " + server + " is not valid yet";
        if (dynamic_cast<const cert::certificateException*>(e) != nullptr)
            return "the certificate of " + server + " is not trusted";
        if (const auto* refused = dynamic_cast<const failure::authentication_error*>(e)) {
            // VMime's own words when the server offers no mechanism it knows.
            if (refused->response().find("SASL mechanism") != std::string::npos)
                return "the server " + server + " offers no logon the mail bridge can use";
            return "the server " + server + " refused the user name or password";
        }
        if (dynamic_cast<const failure::no_auth_information*>(e) != nullptr)
            return "the server " + server + " asks for a logon that the profile does not give";
        const auto* command = dynamic_cast<const failure::command_error*>(e);
        if (command != nullptr && command->command() == "STARTTLS")
            return "the server " + server +
                   " offers no TLS, and the password may not be sent to it in clear";
        if (dynamic_cast<const failure::operation_timed_out*>(e) != nullptr)
            return "the server " + server + " did not answer in time";
        if (dynamic_cast<const failure::connection_error*>(e) != nullptr)
            return connectionCause(endpoint);
        if (dynamic_cast<const failure::socket_exception*>(e) != nullptr)
            return "the connection to " + server + " broke off";
    }
    return "";
}

} // namespace vsolo::mail::net
