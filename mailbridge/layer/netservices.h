#pragma once

#include "mailbridge/layer/maillayer.h"

#include <memory>

namespace vsolo::mail {

std::unique_ptr<MailStore> makeImapStore(const MailProfile&);
std::unique_ptr<MailTransport> makeSmtpTransport(const MailProfile&);

} // namespace vsolo::mail
