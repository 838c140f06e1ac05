#include "mailbridge/layer/envelope.h"
#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"
#include "mailbridge/layer/netsession.h"

#include <vmime/net/smtp/SMTPExceptions.hpp>

namespace vsolo::mail {
namespace {

using vmime::net::smtp::SMTPCommandError;

const SMTPCommandError* smtpRefusal(const vmime::exception& error) {
    for (const vmime::exception* e = &error; e != nullptr; e = e->other()) {
        if (const auto* smtp = dynamic_cast<const SMTPCommandError*>(e))
            return smtp;
    }
    return nullptr;
}

bool refusesRecipientForGood(const SMTPCommandError& refusal) {
    return refusal.command().rfind("RCPT", 0) == 0 && refusal.statusCode() >= 500 &&
           refusal.statusCode() < 600;
}

// A recipient the server refuses for good is its own result; a refusal that may pass (4xx) or a
// refusal of anything else is a failure like any other.
unsigned long sendFailureCode(const vmime::exception& error) {
    const SMTPCommandError* refusal = smtpRefusal(error);
    if (refusal != nullptr && refusesRecipientForGood(*refusal))
        return code::kUnknownRecipient;
    return net::failureCode(error);
}

// The first line of a server's reply, without control characters and within a line's length.
std::string replyText(const SMTPCommandError& refusal) {
    std::string line = std::to_string(refusal.statusCode()) + ' ' + refusal.response();
    line = line.substr(0, std::min(line.find_first_of("\r\n"), std::size_t{200}));
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return line;
}

// What the server refused, with the address of the command ("RCPT TO:<a@b>" and the like).
std::string refusalCause(const SMTPCommandError& refusal) {
    const std::string& command = refusal.command();
    const std::size_t open = command.find('<');
    const std::size_t close = command.find('>', open);
    const std::string address = open == std::string::npos || close == std::string::npos
                                    ? std::string()
                                    : command.substr(open + 1, close - open - 1);
    const std::string reply = " (" + replyText(refusal) + ")";
    if (command.rfind("RCPT", 0) == 0)
        return "the server refused the recipient " + address + reply;
    if (command.rfind("MAIL", 0) == 0)
        return "the server refused the sender " + address + reply;
    return "the server refused the message" + reply;
}

std::string sendFailureCause(const vmime::exception& error, const Endpoint& endpoint) {
    if (const SMTPCommandError* refusal = smtpRefusal(error);
        refusal != nullptr && refusal->command() != "STARTTLS" &&
        refusal->command().rfind("AUTH", 0) != 0)
        return refusalCause(*refusal);
    return net::failureCause(error, endpoint);
}

// Offers the password by one mechanism only, the best that the server and VMime share: VMime
// would try every mechanism the server names in turn, offering a wrong password once for each,
// and servers slow down or lock the account on each refusal.
class OneMechanismAuthenticator : public vmime::security::sasl::defaultSASLAuthenticator {
public:
    const std::vector<std::shared_ptr<vmime::security::sasl::SASLMechanism>>
    getAcceptableMechanisms(
        const std::vector<std::shared_ptr<vmime::security::sasl::SASLMechanism>>& available,
        std::shared_ptr<vmime::security::sasl::SASLMechanism> suggested) const override {
        if (suggested)
            return {suggested};
        if (available.empty())
            return {};
        return {available.front()};
    }
};

class SmtpTransport : public MailTransport {
public:
    SmtpTransport(MailProfile profile, const net::TlsPolicy& policy)
        : m_profile(std::move(profile)), m_policy(policy) {}

    unsigned long send(const std::string& raw, const std::string& fromAddress,
                       const std::vector<std::string>& toAddresses,
                       const std::string& password) override {
        std::string refused;
        const std::optional<Envelope> envelope = makeEnvelope(fromAddress, toAddresses, refused);
        setFailureCause(refused);
        if (!envelope)
            return code::kInvalidRecipients;
        std::shared_ptr<vmime::net::transport> transport;
        unsigned long result = code::kSuccess;
        try {
            transport = connect(password);
            vmime::utility::inputStreamStringAdapter input(raw);
            transport->send(envelope->from, envelope->to, input, raw.size());
        } catch (const vmime::exception& e) {
            result = sendFailureCode(e);
            setFailureCause(sendFailureCause(e, m_profile.transport));
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
            std::make_shared<OneMechanismAuthenticator>());
        if (!net::configureService(*transport, endpoint, policy, m_profile.caFile, password))
            throw vmime::security::cert::certificateException("the CA file holds no certificate");
        transport->setProperty("options.need-authentication", !endpoint.user.empty());
        transport->setProperty("options.sasl", true);
        transport->setProperty("options.sasl.fallback", false);
        transport->connect();
        return transport;
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
