#pragma once

#include "mailbridge/layer/maillayer.h"

#include <memory>
#include <string>

namespace vsolo::mail {

// A Maildir folder (new/, cur/, tmp/) as a store. Identifiers are the files' unique names, the
// part before ':', so that they stay valid when a read moves a message from new/ to cur/.
std::unique_ptr<MailStore> makeMaildirStore(const std::string& path);

// Hands each message to a sendmail-compatible program on its standard input.
std::unique_ptr<MailTransport> makeSendmailTransport(const std::string& programPath);

} // namespace vsolo::mail
