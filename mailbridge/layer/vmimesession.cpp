#include "mailbridge/layer/vmimesession.h"

#include "mailbridge/layer/maillayer.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <vmime/vmime.hpp>

namespace vsolo::mail {
namespace {

using vmime::security::cert::X509Certificate;

// Debian's bundle of the system's trusted roots (ca-certificates).
constexpr const char* kSystemBundle = "/etc/ssl/certs/ca-certificates.crt";
// A certificate file bigger than this is not one the user meant.
constexpr std::streamsize kMaxCertificateFile = 16 * 1024 * 1024;

class TimeoutHandler : public vmime::net::timeoutHandler {
public:
    TimeoutHandler() { resetTimeOut(); }
    bool isTimeOut() override {
        return std::chrono::steady_clock::now() - m_start >= kNetworkTimeout;
    }
    void resetTimeOut() override { m_start = std::chrono::steady_clock::now(); }
    // Never wait longer: the caller sees the time-out as an exception.
    bool handleTimeOut() override { return false; }

private:
    std::chrono::steady_clock::time_point m_start;
};

class TimeoutHandlerFactory : public vmime::net::timeoutHandlerFactory {
public:
    std::shared_ptr<vmime::net::timeoutHandler> create() override {
        return std::make_shared<TimeoutHandler>();
    }
};

bool readSmallFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.clear();
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (static_cast<std::streamsize>(text.size()) > kMaxCertificateFile)
            return false;
    }
    return !in.bad();
}

} // namespace

std::shared_ptr<vmime::net::session> makeSession() {
    return vmime::net::session::create();
}

std::shared_ptr<vmime::net::timeoutHandlerFactory> makeTimeoutHandlerFactory() {
    return std::make_shared<TimeoutHandlerFactory>();
}

std::vector<std::shared_ptr<X509Certificate>> readPemCertificates(std::string_view pem) {
    static constexpr std::string_view kBegin = "-----BEGIN CERTIFICATE-----";
    static constexpr std::string_view kEnd = "-----END CERTIFICATE-----";
    std::vector<std::shared_ptr<X509Certificate>> certificates;
    std::size_t from = 0;
    while (true) {
        const std::size_t begin = pem.find(kBegin, from);
        if (begin == std::string_view::npos)
            break;
        const std::size_t end = pem.find(kEnd, begin + kBegin.size());
        if (end == std::string_view::npos)
            break;
        from = end + kEnd.size();
        const std::string_view block = pem.substr(begin, from - begin);
        try {
            auto certificate = X509Certificate::import(
                reinterpret_cast<const vmime::byte_t*>(block.data()), block.size());
            if (certificate)
                certificates.push_back(std::move(certificate));
        } catch (const vmime::exception&) {
            // A damaged block: the others still count.
        }
    }
    return certificates;
}

std::shared_ptr<vmime::security::cert::certificateVerifier>
makeCertificateVerifier(const std::string& caFile) {
    std::vector<std::shared_ptr<X509Certificate>> roots;
    std::string text;
    if (readSmallFile(kSystemBundle, text))
        roots = readPemCertificates(text);
    std::vector<std::shared_ptr<X509Certificate>> own;
    if (!caFile.empty()) {
        if (!readSmallFile(caFile, text))
            return nullptr;
        own = readPemCertificates(text);
        if (own.empty())
            return nullptr;
        roots.insert(roots.end(), own.begin(), own.end());
    }
    auto verifier = std::make_shared<vmime::security::cert::defaultCertificateVerifier>();
    verifier->setX509RootCAs(roots);
    // A server's own self-signed certificate named in the CA file is trusted as it stands.
    verifier->setX509TrustedCerts(own);
    return verifier;
}

} // namespace vsolo::mail
