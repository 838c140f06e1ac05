#pragma once

#include "mailbridge/layer/maillayer.h"
#include "mailservers.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace vsolo::mail::testing {

// The servers of this test process, started on first use and stopped when the tests end. The
// text is "" when the server runs, else why it does not.
MailServers& servers();
const std::string& dovecotStatus(bool tls);
const std::string& smtpdStatus();

// A message type no other test uses, so that tests sharing a Maildir do not see each other's.
std::string uniqueType(const std::string& what = "");

// A plain-text message from Ann Sender to the test user, byte by byte.
std::string rawMessage(const std::string& subject, const std::string& type,
                       const std::string& body = "Hello from the test.");

MailProfile imapProfile(Endpoint::Scheme scheme, const std::string& host, std::uint16_t port,
                        bool trustCertificate);
// The transport of the test servers: plain SMTP on smtpPort(), SMTPS on smtpsPort().
MailProfile smtpProfile(Endpoint::Scheme scheme, const std::string& host, bool trustCertificate);

// A message sent by SMTP arrives a moment later: the ids of `type` in the plain server's INBOX,
// polled for a bounded time until there are `count` of them.
std::vector<std::string> waitForType(const std::string& type, std::size_t count);

} // namespace vsolo::mail::testing
