#include "mailbridge/layer/localservices.h"
#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"

namespace vsolo::mail {
namespace {

// What a profile gets for an endpoint of the wrong kind (a transport named as its store, or
// the reverse): every call fails, so that no caller has to test for null.
class UnusableStore : public MailStore {
public:
    unsigned long open(const std::string&) override { return code::kFailure; }
    unsigned long findByType(const std::string&, std::vector<std::string>& ids) override {
        ids.clear();
        return code::kFailure;
    }
    unsigned long read(const std::string&, bool, ReceivedMail&) override { return code::kFailure; }
    unsigned long readEnvelope(const std::string&, ReceivedMail&) override {
        return code::kFailure;
    }
    unsigned long remove(const std::string&) override { return code::kFailure; }
    void close() override {}
};

class UnusableTransport : public MailTransport {
public:
    unsigned long send(const std::string&, const std::string&, const std::vector<std::string>&,
                       const std::string&) override {
        return code::kFailure;
    }
};

} // namespace

std::unique_ptr<MailStore> makeStore(const MailProfile& profile) {
    switch (profile.store.scheme) {
    case Endpoint::Scheme::Maildir:
        return makeMaildirStore(profile.store.path);
    case Endpoint::Scheme::Imap:
    case Endpoint::Scheme::Imaps:
        if (auto store = makeImapStore(profile))
            return store;
        break;
    case Endpoint::Scheme::Sendmail:
    case Endpoint::Scheme::Smtp:
    case Endpoint::Scheme::Smtps:
        break;
    }
    return std::make_unique<UnusableStore>();
}

std::unique_ptr<MailTransport> makeTransport(const MailProfile& profile) {
    switch (profile.transport.scheme) {
    case Endpoint::Scheme::Sendmail:
        return makeSendmailTransport(profile.transport.path);
    case Endpoint::Scheme::Smtp:
    case Endpoint::Scheme::Smtps:
        if (auto transport = makeSmtpTransport(profile))
            return transport;
        break;
    case Endpoint::Scheme::Maildir:
    case Endpoint::Scheme::Imap:
    case Endpoint::Scheme::Imaps:
        break;
    }
    return std::make_unique<UnusableTransport>();
}

} // namespace vsolo::mail
