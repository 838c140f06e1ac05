#pragma once

// What the IMAP store and the SMTP transport share: the TLS rules turned into VMime properties,
// the certificate verifier, the timeout and the result code of a VMime failure. Internal to the
// mail layer; only these two and their tests include it.

#include "mailbridge/layer/maillayer.h"

#include <vmime/platforms/posix/posixHandler.hpp>
#include <vmime/security/cert/certificateException.hpp>
#include <vmime/vmime.hpp>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace vsolo::mail::net {

// How a connection to an endpoint must be secured before anything else is said on it.
struct TlsPolicy {
    bool startTls = false;    // ask for STARTTLS after the greeting
    bool tlsRequired = false; // end the connection rather than go on in clear
};

// imaps/smtps are TLS from the first byte, so there is nothing to ask for. Otherwise STARTTLS is
// always tried, and a host to which no password may go in clear must accept it. This is asked
// also of a transport without a user: nothing is sent in clear to a host that is not loopback.
inline TlsPolicy tlsPolicy(const Endpoint& endpoint)
{
    if (endpoint.isImplicitTls())
        return {false, false};
    return {true, !mayAuthenticate(endpoint, false)};
}

inline void applyTlsPolicy(vmime::net::service& service, const TlsPolicy& policy)
{
    service.setProperty("connection.tls", policy.startTls);
    service.setProperty("connection.tls.required", policy.tlsRequired);
}

// VMime needs its platform handler before the first session; the other layer code may have set
// it already.
inline void ensurePlatformHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        try {
            vmime::platform::getHandler();
        } catch (const vmime::exceptions::no_platform_handler&) {
            vmime::platform::setHandler<vmime::platforms::posix::posixHandler>();
        }
    });
}

// The certificates of a PEM bundle; a missing or unreadable file gives none.
inline std::vector<std::shared_ptr<vmime::security::cert::X509Certificate>>
readCertificates(const std::string& path)
{
    std::vector<std::shared_ptr<vmime::security::cert::X509Certificate>> certs;
    if (path.empty())
        return certs;
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static constexpr std::string_view kBegin = "-----BEGIN CERTIFICATE-----";
    static constexpr std::string_view kEnd = "-----END CERTIFICATE-----";
    std::size_t pos = 0;
    while ((pos = text.find(kBegin, pos)) != std::string::npos) {
        const std::size_t end = text.find(kEnd, pos);
        if (end == std::string::npos)
            break;
        const std::string block = text.substr(pos, end + kEnd.size() - pos);
        pos = end + kEnd.size();
        try {
            auto cert = vmime::security::cert::X509Certificate::import(
                reinterpret_cast<const vmime::byte_t*>(block.data()), block.size());
            if (cert)
                certs.push_back(cert);
        } catch (const vmime::exception&) {
            // One damaged entry of a bundle does not spoil the others.
        }
    }
    return certs;
}

inline constexpr const char* kSystemCertificates = "/etc/ssl/certs/ca-certificates.crt";

// Verifies the chain and the host name against the system's authorities and the profile's file.
inline std::shared_ptr<vmime::security::cert::certificateVerifier>
makeCertificateVerifier(const std::string& caFile)
{
    auto roots = readCertificates(kSystemCertificates);
    auto extra = readCertificates(caFile);
    roots.insert(roots.end(), extra.begin(), extra.end());
    auto verifier = std::make_shared<vmime::security::cert::defaultCertificateVerifier>();
    verifier->setX509RootCAs(roots);
    return verifier;
}

// Gives up when nothing has arrived for kNetworkTimeout; VMime resets it on every byte.
class NetworkTimeout : public vmime::net::timeoutHandler {
public:
    bool isTimeOut() override { return std::chrono::steady_clock::now() - m_start >= kNetworkTimeout; }
    void resetTimeOut() override { m_start = std::chrono::steady_clock::now(); }
    bool handleTimeOut() override { return false; }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

class NetworkTimeoutFactory : public vmime::net::timeoutHandlerFactory {
public:
    std::shared_ptr<vmime::net::timeoutHandler> create() override
    {
        return std::make_shared<NetworkTimeout>();
    }
};

// The settings both services share: TLS, verifier, timeout and the credentials, which the SASL
// authenticator reads from the service's properties.
inline void configureService(vmime::net::service& service, const Endpoint& endpoint,
                             const std::string& caFile, const std::string& password)
{
    applyTlsPolicy(service, tlsPolicy(endpoint));
    service.setCertificateVerifier(makeCertificateVerifier(caFile));
    service.setTimeoutHandlerFactory(std::make_shared<NetworkTimeoutFactory>());
    service.setProperty("options.sasl", true);
    service.setProperty("options.sasl.fallback", true);
    if (!endpoint.user.empty()) {
        service.setProperty("auth.username", endpoint.user);
        service.setProperty("auth.password", password);
    }
}

inline vmime::utility::url serviceUrl(const char* protocol, const Endpoint& endpoint)
{
    return vmime::utility::url(protocol, endpoint.host,
                               endpoint.port != 0 ? endpoint.port
                                                  : vmime::utility::url::UNSPECIFIED_PORT);
}

// A refused password, a password that may not be sent (STARTTLS refused where it is required) and
// a server whose certificate does not verify all end the logon: kLoginFailure. Any other failure
// of the connection or the protocol is kFailure.
inline unsigned long failureCode(const vmime::exception& error)
{
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

} // namespace vsolo::mail::net
