#pragma once

// What the IMAP store and the SMTP transport share: the TLS rules turned into VMime properties,
// the service's settings and the result code and cause of a VMime failure (netcause.cpp).
// Internal to the mail layer; only these two and their tests include it.

#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/vmimesession.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vmime/platforms/posix/posixHandler.hpp>
#include <vmime/security/cert/certificateException.hpp>
#include <vmime/vmime.hpp>

namespace vsolo::mail::net {

// How a connection to an endpoint must be secured before anything else is said on it.
struct TlsPolicy {
    bool startTls = false;    // ask for STARTTLS after the greeting
    bool tlsRequired = false; // end the connection rather than go on in clear
};

// imaps/smtps are TLS from the first byte, so there is nothing to ask for. Otherwise STARTTLS is
// always tried, and a host to which no password may go in clear must accept it. This is asked
// also of a transport without a user: nothing is sent in clear to a host that is not loopback.
inline TlsPolicy tlsPolicy(const Endpoint& endpoint) {
    if (endpoint.isImplicitTls())
        return {false, false};
    return {true, !mayAuthenticate(endpoint, false)};
}

inline void applyTlsPolicy(vmime::net::service& service, const TlsPolicy& policy) {
    service.setProperty("connection.tls", policy.startTls);
    service.setProperty("connection.tls.required", policy.tlsRequired);
}

// VMime needs its platform handler before the first session; the other layer code may have set
// it already.
inline void ensurePlatformHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        try {
            vmime::platform::getHandler();
        } catch (const vmime::exceptions::no_platform_handler&) {
            vmime::platform::setHandler<vmime::platforms::posix::posixHandler>();
        }
    });
}

// The settings both services share: TLS, verifier, timeout and the credentials, which VMime's
// authenticator reads from the service's properties. False when the profile's CA file cannot be
// used: the server could not be verified as the user meant, so there is no logon.
inline bool configureService(vmime::net::service& service, const Endpoint& endpoint,
                             const TlsPolicy& policy, const std::string& caFile,
                             const std::string& password) {
    auto verifier = makeCertificateVerifier(caFile);
    if (!verifier)
        return false;
    applyTlsPolicy(service, policy);
    service.setCertificateVerifier(verifier);
    service.setTimeoutHandlerFactory(makeTimeoutHandlerFactory());
    if (!endpoint.user.empty()) {
        service.setProperty("auth.username", endpoint.user);
        service.setProperty("auth.password", password);
    }
    return true;
}

inline vmime::utility::url serviceUrl(const char* protocol, const Endpoint& endpoint) {
    return vmime::utility::url(protocol, endpoint.host,
                               endpoint.port != 0 ? endpoint.port
                                                  : vmime::utility::url::UNSPECIFIED_PORT);
}

// A refused password, a password that may not be sent (STARTTLS refused where it is required) and
// a server whose certificate does not verify all end the logon: kLoginFailure. Any other failure
// of the connection or the protocol is kFailure.
inline unsigned long failureCode(const vmime::exception& error) {
    for (const vmime::exception* e = &error; e != nullptr; e = e->other()) {
        if (dynamic_cast<const vmime::exceptions::authentication_error*>(e) != nullptr ||
            dynamic_cast<const vmime::exceptions::no_auth_information*>(e) != nullptr ||
            dynamic_cast<const vmime::security::cert::certificateException*>(e) != nullptr)
            return code::kLoginFailure;
        const auto* command = dynamic_cast<const vmime::exceptions::command_error*>(e);
        if (command != nullptr && command->command() == "STARTTLS")
            return code::kLoginFailure;
    }
    return code::kFailure;
}

// Why a connection to the endpoint or a logon on it failed, in words the user is shown after
// the text of the result code ("the server 127.0.0.1 port 25 refused the connection"); "" for a
// failure of the protocol, whose cause only a trace would show.
std::string failureCause(const vmime::exception& error, const Endpoint& endpoint);

// Lines of an IMAP FETCH reply that VMime's parser cannot read, read by the store itself.
// An IMAP date-time, "dd-Mon-yyyy hh:mm:ss +zzzz" (the day may start with a space), as UTC.
inline std::optional<std::time_t> parseInternalDate(std::string_view text) {
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
inline std::optional<std::time_t> internalDateOf(std::string_view line) {
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

// The UID of one untagged FETCH line.
inline std::optional<std::uint32_t> uidOf(std::string_view line) {
    if (line.rfind("* ", 0) != 0 || line.find(" FETCH (") == std::string_view::npos)
        return std::nullopt;
    static constexpr std::string_view kKey = "UID ";
    for (std::size_t at = line.find(kKey); at != std::string_view::npos;
         at = line.find(kKey, at + 1)) {
        if (line[at - 1] != '(' && line[at - 1] != ' ')
            continue;
        const std::size_t from = at + kKey.size();
        const std::size_t end = std::min(line.find_first_not_of("0123456789", from), line.size());
        std::uint32_t uid = 0;
        const auto [ptr, ec] = std::from_chars(line.data() + from, line.data() + end, uid);
        if (ec == std::errc() && ptr == line.data() + end && uid != 0)
            return uid;
    }
    return std::nullopt;
}

// The store and the transport under a policy of the caller's choosing (makeImapStore and
// makeSmtpTransport use tlsPolicy), so that the refusal of a clear connection can be seen on a
// loopback server. The store's connections come from `sockets` when it is given: a server that
// is played by a test rather than reached over the network.
std::unique_ptr<MailStore> makeImapStore(const MailProfile& profile, const TlsPolicy& policy,
                                         std::shared_ptr<vmime::net::socketFactory> sockets = {});
std::unique_ptr<MailTransport> makeSmtpTransport(const MailProfile& profile,
                                                 const TlsPolicy& policy);

} // namespace vsolo::mail::net
