#include "servertest.h"

#include "mailbridge/layer/netservices.h"
#include "maildirfolder.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <thread>

namespace vsolo::mail::testing {
namespace {

class ServerEnvironment : public ::testing::Environment {
public:
    void TearDown() override { instance.reset(); }

    std::unique_ptr<MailServers> instance;
    std::optional<std::string> dovecot[2];
    std::optional<std::string> smtpd;
};

ServerEnvironment& environment() {
    // gtest owns and deletes the environment it is given.
    static ServerEnvironment* env =
        static_cast<ServerEnvironment*>(::testing::AddGlobalTestEnvironment(new ServerEnvironment));
    return *env;
}

// Registered before main runs, so that its TearDown stops the servers after the last test.
[[maybe_unused]] const bool registered = (environment(), true);

} // namespace

MailServers& servers() {
    auto& env = environment();
    if (!env.instance)
        env.instance = std::make_unique<MailServers>();
    return *env.instance;
}

const std::string& dovecotStatus(bool tls) {
    auto& status = environment().dovecot[tls ? 1 : 0];
    if (!status)
        status = servers().startDovecot(tls);
    return *status;
}

const std::string& smtpdStatus() {
    auto& status = environment().smtpd;
    if (!status)
        status = servers().startSmtpd();
    return *status;
}

std::string uniqueType(const std::string& what) {
    static int counter = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/')
            c = '.';
    }
    return "vsolo.test." + name + "." + what + std::to_string(++counter);
}

std::string rawMessage(const std::string& subject, const std::string& type,
                       const std::string& body) {
    const std::string id =
        "Message-ID: <" + std::to_string(std::hash<std::string>{}(subject + type)) + "@vsolo.test>";
    return vsolo::testing::textMessage(
        "\r\n", "Ann Sender <ann@sender.test>", "Test User <tester@localhost>", type, subject,
        {"Date: Mon, 07 Dec 2026 10:00:00 +0000", id, "MIME-Version: 1.0",
         "Content-Type: text/plain; charset=us-ascii", "Content-Transfer-Encoding: 7bit"},
        body + "\r\n");
}

MailProfile imapProfile(Endpoint::Scheme scheme, const std::string& host, std::uint16_t port,
                        bool trustCertificate) {
    MailProfile profile;
    profile.name = "Test";
    profile.store.scheme = scheme;
    profile.store.user = MailServers::kUser;
    profile.store.host = host;
    profile.store.port = port;
    if (trustCertificate)
        profile.caFile = servers().caFile();
    return profile;
}

MailProfile smtpProfile(Endpoint::Scheme scheme, const std::string& host, bool trustCertificate) {
    MailProfile profile;
    profile.name = "Test";
    profile.transport.scheme = scheme;
    profile.transport.host = host;
    profile.transport.port =
        scheme == Endpoint::Scheme::Smtp ? servers().smtpPort() : servers().smtpsPort();
    if (trustCertificate)
        profile.caFile = servers().caFile();
    return profile;
}

std::vector<std::string> waitForType(const std::string& type, std::size_t count) {
    std::vector<std::string> ids;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        auto store = makeImapStore(
            imapProfile(Endpoint::Scheme::Imap, "127.0.0.1", servers().imapPort(), false));
        if (store->open(MailServers::kPassword) == code::kSuccess &&
            store->findByType(type, ids) == code::kSuccess && ids.size() >= count)
            return ids;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return ids;
}

} // namespace vsolo::mail::testing
