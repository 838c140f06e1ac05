#include "mailbridge/layer/vmimesession.h"
#include "maildirfolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vsolo::mail {
namespace {

using testing::MaildirFolder;

constexpr const char* kBundle = "/etc/ssl/certs/ca-certificates.crt";

// The first `count` certificate blocks of the system's bundle, each followed by `between`.
std::string systemCertificates(int count, const std::string& between) {
    const std::string bundle = MaildirFolder::read(kBundle);
    std::string out;
    std::size_t from = 0;
    for (int i = 0; i < count; ++i) {
        const std::string end = "-----END CERTIFICATE-----\n";
        const auto begin = bundle.find("-----BEGIN CERTIFICATE-----", from);
        const auto stop = bundle.find(end, begin);
        if (begin == std::string::npos || stop == std::string::npos)
            break;
        from = stop + end.size();
        out += bundle.substr(begin, from - begin) + between;
    }
    return out;
}

TEST(CertificatesTest, ReadsEachBlockAndSkipsDamagedOnes) {
    if (!std::filesystem::exists(kBundle))
        GTEST_SKIP() << "no system certificates";
    const std::string damaged = "-----BEGIN CERTIFICATE-----\nnot base64 at all\n"
                                "-----END CERTIFICATE-----\n";
    EXPECT_EQ(readPemCertificates(systemCertificates(2, "# comment\n")).size(), 2u);
    EXPECT_EQ(readPemCertificates(systemCertificates(2, damaged)).size(), 2u);
    EXPECT_TRUE(readPemCertificates(damaged).empty());
}

TEST(CertificatesTest, ACaFileThatCannotBeUsedGivesNoVerifier) {
    MaildirFolder folder;
    MaildirFolder::write(folder.root() / "empty.pem", "no certificate here\n");
    EXPECT_NE(makeCertificateVerifier(""), nullptr);
    EXPECT_EQ(makeCertificateVerifier((folder.root() / "missing.pem").string()), nullptr);
    EXPECT_EQ(makeCertificateVerifier((folder.root() / "empty.pem").string()), nullptr);
    if (std::filesystem::exists(kBundle)) {
        MaildirFolder::write(folder.root() / "ca.pem", systemCertificates(1, ""));
        EXPECT_NE(makeCertificateVerifier((folder.root() / "ca.pem").string()), nullptr);
    }
}

} // namespace
} // namespace vsolo::mail
