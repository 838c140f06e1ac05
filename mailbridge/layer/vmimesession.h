#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vmime::net {
class session;
class timeoutHandlerFactory;
} // namespace vmime::net
namespace vmime::security::cert {
class X509Certificate;
class certificateVerifier;
} // namespace vmime::security::cert

namespace vsolo::mail {

// A VMime session for one service of the layer. Nothing is read from the environment.
std::shared_ptr<vmime::net::session> makeSession();

// Gives up a connection attempt or a wait for a reply after kNetworkTimeout without progress.
std::shared_ptr<vmime::net::timeoutHandlerFactory> makeTimeoutHandlerFactory();

// The certificates of a PEM text, in their order; blocks that are not certificates are skipped.
std::vector<std::shared_ptr<vmime::security::cert::X509Certificate>>
readPemCertificates(std::string_view pem);

// A verifier that trusts the system's root certificates and those of `caFile` ("" for none).
// Null when `caFile` is named but cannot be read or holds no certificate: a server the user
// meant to pin must not be accepted on the system's roots alone.
std::shared_ptr<vmime::security::cert::certificateVerifier>
makeCertificateVerifier(const std::string& caFile);

} // namespace vsolo::mail
