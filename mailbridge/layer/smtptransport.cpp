#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"
#include "mailbridge/layer/netsession.h"

#include <vmime/net/smtp/SMTPExceptions.hpp>

namespace vsolo::mail {
namespace {

// A recipient the server refuses for good is its own result; a refusal that may pass (4xx) or a
// refusal of anything else is a failure like any other.
unsigned long sendFailureCode(const vmime::exception& error) {
    for (const vmime::exception* e = &error; e != nullptr; e = e->other()) {
        const auto* smtp = dynamic_cast<const vmime::net::smtp::SMTPCommandError*>(e);
        if (smtp != nullptr && smtp->command().rfind("RCPT", 0) == 0 && smtp->statusCode() >= 500 &&
            smtp->statusCode() < 600)
            return code::kUnknownRecipient;
    }
    return net::failureCode(error);
}

class SmtpTransport : public MailTransport {
public:
    SmtpTransport(MailProfile profile, const net::TlsPolicy& policy)
        : m_profile(std::move(profile)), m_policy(policy) {}

    unsigned long send(const std::string& raw, const std::string& fromAddress,
                       const std::vector<std::string>& toAddresses,
                       const std::string& password) override {
        std::shared_ptr<vmime::net::transport> transport;
        unsigned long result = code::kSuccess;
        try {
            transport = connect(password);
            deliver(*transport, raw, fromAddress, toAddresses);
        } catch (const vmime::exception& e) {
            result = sendFailureCode(e);
        } catch (const std::bad_alloc&) {
            result = code::kInsufficientMemory;
        } catch (...) {
            result = code::kFailure;
        }
        try {
            if (transport && transport->isConnected())
                transport->disconnect();
        } catch (...) {
            // The message went or did not; a failing QUIT changes neither.
        }
        return result;
    }

private:
    std::shared_ptr<vmime::net::transport> connect(const std::string& password) {
        const net::TlsPolicy& policy = m_policy;
        try {
            return connect(password, policy);
        } catch (const vmime::exceptions::connection_greeting_error&) {
            // A server without STARTTLS refuses it, and VMime then greets it a second time, which
            // some servers refuse too. Where the connection may stay clear (loopback), it is
            // made again without asking for TLS.
            if (!policy.startTls || policy.tlsRequired)
                throw;
        }
        return connect(password, net::TlsPolicy{false, false});
    }

    std::shared_ptr<vmime::net::transport> connect(const std::string& password,
                                                   const net::TlsPolicy& policy) {
        const Endpoint& endpoint = m_profile.transport;
        net::ensurePlatformHandler();
        auto session = makeSession();
        auto transport = session->getTransport(
            net::serviceUrl(endpoint.isImplicitTls() ? "smtps" : "smtp", endpoint),
            std::make_shared<vmime::security::sasl::defaultSASLAuthenticator>());
        if (!net::configureService(*transport, endpoint, policy, m_profile.caFile, password))
            throw vmime::security::cert::certificateException("the CA file holds no certificate");
        transport->setProperty("options.need-authentication", !endpoint.user.empty());
        transport->setProperty("options.sasl", true);
        transport->setProperty("options.sasl.fallback", false);
        transport->connect();
        return transport;
    }

    static void deliver(vmime::net::transport& transport, const std::string& raw,
                        const std::string& fromAddress,
                        const std::vector<std::string>& toAddresses) {
        vmime::mailboxList recipients;
        for (const auto& address : toAddresses)
            recipients.appendMailbox(
                std::make_shared<vmime::mailbox>(vmime::emailAddress(address)));
        vmime::utility::inputStreamStringAdapter input(raw);
        transport.send(vmime::mailbox(vmime::emailAddress(fromAddress)), recipients, input,
                       raw.size());
    }

    MailProfile m_profile;
    net::TlsPolicy m_policy;
};

} // namespace

std::unique_ptr<MailTransport> net::makeSmtpTransport(const MailProfile& profile,
                                                      const net::TlsPolicy& policy) {
    return std::make_unique<SmtpTransport>(profile, policy);
}

std::unique_ptr<MailTransport> makeSmtpTransport(const MailProfile& profile) {
    return net::makeSmtpTransport(profile, net::tlsPolicy(profile.transport));
}

} // namespace vsolo::mail
