// Until the layer's network half is in, a profile naming an IMAP or SMTP server gets the
// factory's unusable store or transport.

#include "mailbridge/layer/netservices.h"

namespace vsolo::mail {

std::unique_ptr<MailStore> makeImapStore(const MailProfile&) {
    return nullptr;
}

std::unique_ptr<MailTransport> makeSmtpTransport(const MailProfile&) {
    return nullptr;
}

} // namespace vsolo::mail
