#pragma once

#include "mailbridge/layer/maillayer.h"

#include <memory>

namespace vsolo::mail {

// The network half of the layer: the INBOX of an IMAP server (imap, imaps) and an SMTP
// submission server (smtp, smtps), as the profile's store and transport endpoints name them.
// makeStore and makeTransport call these for the network schemes; never null.
std::unique_ptr<MailStore> makeImapStore(const MailProfile& profile);
std::unique_ptr<MailTransport> makeSmtpTransport(const MailProfile& profile);

} // namespace vsolo::mail
