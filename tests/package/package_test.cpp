// The Debian package as `cpack -G DEB` makes it from this build: its files, its dependencies,
// lintian's verdict, and an install and removal with dpkg in a scratch root.

#include "tests/support/pdftext.h"
#include "tests/support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace vsolo {
namespace {

namespace fs = std::filesystem;
using testing::commandOutput;

std::string shellWord(const std::string& text) {
    return "'" + text + "'";
}

// The output of a command that may fail; its standard error joins the output.
std::string anyOutput(const std::string& command) {
    return commandOutput("{ " + command + "; } 2>&1 || true");
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// One package for the whole suite: making it installs the whole build once.
class PackageTest : public ::testing::Test {
protected:
    // Both suites share the package; the folder goes at exit.
    static void SetUpTestSuite() {
        if (s_dir) {
            return;
        }
        s_dir = std::make_unique<testing::TempDir>();
        commandOutput("cpack -G DEB --config " VSOLO_BUILD_DIR "/CPackConfig.cmake -B " +
                      shellWord(s_dir->path()) + " >/dev/null");
        for (const auto& entry : fs::directory_iterator(s_dir->path())) {
            if (entry.path().extension() == ".deb") {
                s_deb = entry.path().string();
            }
        }
        ASSERT_FALSE(s_deb.empty()) << "cpack made no package";
        s_root = s_dir->file("root");
        commandOutput("dpkg-deb -x " + shellWord(s_deb) + " " + shellWord(s_root));
    }
    static std::string field(const std::string& name) {
        return commandOutput("dpkg-deb -f " + shellWord(s_deb) + " " + name);
    }

    static std::unique_ptr<testing::TempDir> s_dir;
    static std::string s_deb;
    static std::string s_root;
};
std::unique_ptr<testing::TempDir> PackageTest::s_dir;
std::string PackageTest::s_deb;
std::string PackageTest::s_root;

class PackageFileTest : public PackageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PackageFileTest, IsInPackage) {
    EXPECT_TRUE(fs::is_regular_file(s_root + "/" + GetParam())) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Files, PackageFileTest,
    ::testing::Values("usr/bin/vsolo", "usr/bin/vsreport", "usr/bin/vsolo-cli",
                      "usr/libexec/veltimo-solo/vsolo", "usr/libexec/veltimo-solo/vsreport",
                      "usr/libexec/veltimo-solo/vsolo-cli",
                      "usr/libexec/veltimo-solo/vsolo-cli-pdf", "usr/libexec/veltimo-solo/tips.txt",
                      "usr/lib/libosxmapi.so.4", "usr/include/osxmapi.h",
                      "usr/share/man/man1/vsolo-cli.1.gz", "usr/share/doc/veltimo-solo/copyright",
                      "usr/share/doc/veltimo-solo/changelog.Debian.gz"));

// A Debian package must not put anything in /usr/local, which belongs to the local administrator.
TEST_F(PackageTest, EveryFileIsUnderUsr) {
    for (const std::string& line : linesOf(commandOutput("dpkg-deb -c " + shellWord(s_deb)))) {
        const std::string path = line.substr(line.find("./"));
        EXPECT_TRUE(path == "./" || path.starts_with("./usr/")) << line;
        EXPECT_FALSE(path.starts_with("./usr/local")) << line;
    }
}

// The dependencies are what dpkg-shlibdeps found the programs linked against, with versions; the
// mail bridge library comes with the package and is no dependency.
TEST_F(PackageTest, DependsOnTheLinkedLibraries) {
    const std::string depends = field("Depends");
    for (const char* library : {"libc6 (>= ", "libstdc++6 (>= ", "libqt6widgets6", "libvmime"}) {
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
    }
    EXPECT_EQ(depends.find("osxmapi"), std::string::npos) << depends;
}

TEST_F(PackageTest, LintianFindsNoError) {
    const std::string report = anyOutput("lintian --no-tag-display-limit " + shellWord(s_deb));
    for (const std::string& line : linesOf(report)) {
        EXPECT_FALSE(line.starts_with("E: ")) << line;
    }
}

// dpkg installs the package into an empty root of its own and removes it again without a trace.
TEST_F(PackageTest, InstallsAndRemovesCleanly) {
    const std::string root = s_dir->file("dpkg-root");
    fs::create_directories(root + "/var/lib/dpkg/updates");
    fs::create_directories(root + "/var/lib/dpkg/info");
    testing::writeBytes(root + "/var/lib/dpkg/status", "");
    const std::string dpkg = "dpkg --root=" + shellWord(root) +
                             " --force-not-root --force-depends --force-script-chrootless"
                             " --log=/dev/null ";
    const std::string installed = anyOutput(dpkg + "-i " + shellWord(s_deb));
    EXPECT_TRUE(fs::is_regular_file(root + "/usr/bin/vsolo-cli")) << installed;
    EXPECT_NE(anyOutput("dpkg --root=" + shellWord(root) + " -s veltimo-solo")
                  .find("install ok "
                        "installed"),
              std::string::npos);
    const std::string removed = anyOutput(dpkg + "--purge veltimo-solo");
    EXPECT_FALSE(fs::exists(root + "/usr/bin/vsolo-cli")) << removed;
    EXPECT_FALSE(fs::exists(root + "/usr/share/doc/veltimo-solo")) << removed;
}

} // namespace
} // namespace vsolo
