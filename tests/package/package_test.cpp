// The Debian packages as `cpack -G DEB` makes them from this build: the three packages, their
// files and dependencies, the library's shlibs, symbols and trigger, the hardening of the
// binaries, lintian's verdict, and an install and removal with dpkg in a scratch root.

#include "tests/support/joined.h"
#include "tests/support/pdftext.h"
#include "tests/support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace vsolo {
namespace {

namespace fs = std::filesystem;
using testing::commandOutput;

constexpr const char* kPrograms = "veltimo-solo";
constexpr const char* kLibrary = "libosxmapi0";
constexpr const char* kDevelopment = "libosxmapi-dev";
const std::string kVersion = VSOLO_VERSION "-1";

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

// The packages for the whole suite, made once (making them installs the whole build): each
// package's file, its files unpacked and its control files.
class PackageTest : public ::testing::Test {
protected:
    struct Package {
        std::string deb, root, control;
    };

    static void SetUpTestSuite() {
        s_dir = std::make_unique<testing::TempDir>();
        commandOutput("cpack -G DEB --config " VSOLO_BUILD_DIR "/CPackConfig.cmake -B " +
                      shellWord(s_dir->path()) + " >/dev/null");
        for (const std::string& deb : linesOf(commandOutput("ls " + s_dir->file("*.deb")))) {
            std::string name = commandOutput("dpkg-deb -f " + shellWord(deb) + " Package");
            name.erase(name.find('\n'));
            Package& package = s_packages[name];
            package = {deb, s_dir->file(name + "root"), s_dir->file(name + "control")};
            commandOutput("dpkg-deb -x " + shellWord(deb) + " " + shellWord(package.root));
            commandOutput("dpkg-deb -e " + shellWord(deb) + " " + shellWord(package.control));
        }
    }
    static const Package& package(const std::string& name) { return s_packages.at(name); }
    static std::string field(const std::string& name, const std::string& which) {
        return commandOutput("dpkg-deb -f " + shellWord(package(name).deb) + " " + which);
    }

    static std::unique_ptr<testing::TempDir> s_dir;
    static std::map<std::string, Package> s_packages;
};
std::unique_ptr<testing::TempDir> PackageTest::s_dir;
std::map<std::string, PackageTest::Package> PackageTest::s_packages;

TEST_F(PackageTest, MakesThePackagesOfTheProgramsTheLibraryAndItsHeaderWithTheirFiles) {
    EXPECT_EQ(s_packages.size(), 3u);
    for (const char* name : {kPrograms, kLibrary, kDevelopment}) {
        EXPECT_EQ(fs::path(package(name).deb).filename(), name + ("_" + kVersion) + "_amd64.deb");
        EXPECT_EQ(field(name, "Version") + field(name, "Source"), kVersion + "\nveltimo-solo\n");
    }
    // Each file is in its package and in no other.
    const std::map<std::string, std::vector<std::string>> files = {
        {kPrograms,
         {"bin/vsolo", "bin/vsreport", "bin/vsolo-cli", "libexec/veltimo-solo/vsolo",
          "libexec/veltimo-solo/vsreport", "libexec/veltimo-solo/vsolo-cli",
          "libexec/veltimo-solo/vsolo-cli-pdf", "libexec/veltimo-solo/tips.txt",
          "share/man/man1/vsolo.1.gz", "share/man/man1/vsreport.1.gz",
          "share/man/man1/vsolo-cli.1.gz", "share/doc/veltimo-solo/copyright",
          "share/doc/veltimo-solo/changelog.Debian.gz",
          "share/veltimo-solo/translations/veltimo-solo_de.qm"}},
        {kLibrary, {"lib/libosxmapi.so.0", "share/doc/libosxmapi0/copyright"}},
        {kDevelopment,
         {"include/osxmapi.h", "lib/libosxmapi.so", "share/doc/libosxmapi-dev/copyright"}}};
    for (const auto& [owner, paths] : files) {
        for (const std::string& path : paths) {
            for (const auto& [name, made] : s_packages) {
                EXPECT_EQ(fs::exists(fs::symlink_status(made.root + "/usr/" + path)), name == owner)
                    << path << " in " << name;
            }
        }
    }
}

// A Debian package must not put anything in /usr/local, which belongs to the local administrator.
TEST_F(PackageTest, EveryFileIsUnderUsr) {
    for (const auto& [name, made] : s_packages) {
        for (const std::string& line :
             linesOf(commandOutput("dpkg-deb -c " + shellWord(made.deb)))) {
            const std::string path = line.substr(line.find("./"));
            EXPECT_TRUE(path == "./" || path.starts_with("./usr/")) << name << ": " << line;
            EXPECT_FALSE(path.starts_with("./usr/local")) << name << ": " << line;
        }
    }
}

// The programs depend on what dpkg-shlibdeps found them linked against and on this very library
// package, the library on what it links, the header on the library; and what each recommends.
TEST_F(PackageTest, DependsOnWhatTheyUse) {
    const std::string library = std::string(kLibrary) + " (= " + kVersion + ")";
    const std::vector<std::vector<std::string>> wanted = {
        {kPrograms, "Depends", library, "libc6 (>= ", "libstdc++6 (>= ", "libqt6widgets6"},
        {kPrograms, "Recommends", "fonts-liberation2", "qt6-translations-l10n"},
        {kLibrary, "Depends", "libc6 (>= ", "libstdc++6 (>= ", "libvmime"},
        {kLibrary, "Recommends", "xdg-utils"},
        {kDevelopment, "Depends", library}};
    for (const auto& row : wanted) {
        const std::string value = field(row[0], row[1]);
        for (std::size_t i = 2; i < row.size(); ++i) {
            EXPECT_NE(value.find(row[i]), std::string::npos) << row[0] << " " << row[1] << value;
        }
    }
}

// Programs built against the library depend on its package through its shlibs and symbols
// files, which name its soname and every symbol it exports; one trigger runs ldconfig, and no
// maintainer script does it again (the packages have none).
TEST_F(PackageTest, LibraryCarriesItsShlibsSymbolsAndTrigger) {
    const Package& library = package(kLibrary);
    const std::string lib = library.root + "/usr/lib/libosxmapi.so.0";
    EXPECT_NE(
        commandOutput("objdump -p " + shellWord(lib) + " | grep SONAME").find(" libosxmapi.so.0\n"),
        std::string::npos);
    EXPECT_EQ(testing::readBytes(library.control + "/shlibs"),
              "libosxmapi 0 libosxmapi0 (>= 4.0.0)\n");
    EXPECT_EQ(commandOutput("sed -n 's/^ \\([^@]*\\)@.*/\\1/p' " +
                            shellWord(library.control + "/symbols") + " | sort"),
              commandOutput("nm -D --defined-only " + shellWord(lib) +
                            " | awk '$2 == \"T\" {print $3}' | sort"));
    // Of all the control files of the three packages, only the library's trigger runs ldconfig.
    std::string controls;
    for (const auto& [name, made] : s_packages) {
        controls += " " + shellWord(made.control);
    }
    EXPECT_EQ(commandOutput("grep -rc ldconfig" + controls + " | grep -v ':0$'"),
              library.control + "/triggers:1\n");
}

// The binaries of an optimised build carry the hardening of dpkg-buildflags.
TEST_F(PackageTest, BinariesAreHardened) {
    if (!VSOLO_OPTIMISED) {
        GTEST_SKIP() << "a debug build is not hardened";
    }
    for (const std::string name : {"vsolo", "vsreport", "vsolo-cli", "vsolo-cli-pdf", "lib"}) {
        const std::string binary =
            name == "lib" ? package(kLibrary).root + "/usr/lib/libosxmapi.so.0"
                          : package(kPrograms).root + "/usr/libexec/veltimo-solo/" + name;
        const std::string report = anyOutput("hardening-check " + shellWord(binary));
        for (const char* feature :
             {name == "lib"
                  ? " Position Independent Executable: no, regular shared library (ignored)"
                  : " Position Independent Executable: yes",
              " Stack protected: yes", " Read-only relocations: yes", " Immediate binding: yes"}) {
            EXPECT_NE(report.find(feature), std::string::npos) << feature << "\n" << report;
        }
        EXPECT_EQ(report.find("Fortify Source functions: no"), std::string::npos) << report;
    }
}

// Lintian finds no error, and of the warnings only those the README gives the reason for.
TEST_F(PackageTest, LintianFindsNothingToFix) {
    const std::string readme = testing::readBytes(VSOLO_SOURCE_DIR "/README.md");
    for (const auto& [name, made] : s_packages) {
        const std::string report =
            anyOutput("lintian --tag-display-limit 0 " + shellWord(made.deb));
        for (const std::string& line : linesOf(report)) {
            EXPECT_FALSE(line.starts_with("E: ")) << line;
            std::smatch tag;
            if (std::regex_search(line, tag, std::regex("^W: [^:]+: ([^ ]+)"))) {
                EXPECT_NE(readme.find(testing::joined({"`", tag[1].str(), "`"})), std::string::npos)
                    << line;
            }
        }
    }
}

// dpkg installs the packages into an empty root of their own and removes them again without a
// trace; the programs cannot be installed without the library.
TEST_F(PackageTest, InstallsAndRemovesCleanly) {
    const std::string root = s_dir->file("dpkg-root");
    fs::create_directories(root + "/var/lib/dpkg/updates");
    fs::create_directories(root + "/var/lib/dpkg/info");
    testing::writeBytes(root + "/var/lib/dpkg/status", "");
    const std::string dpkg = "dpkg --root=" + shellWord(root) +
                             " --force-script-chrootless --force-not-root --log=/dev/null ";
    const std::string alone = anyOutput(dpkg + "-i " + shellWord(package(kPrograms).deb));
    EXPECT_NE(alone.find("depends on libosxmapi0"), std::string::npos) << alone;
    const std::string installed =
        anyOutput(dpkg + "--force-depends -i " + shellWord(package(kLibrary).deb) + " " +
                  shellWord(package(kPrograms).deb) + " " + shellWord(package(kDevelopment).deb));
    EXPECT_TRUE(fs::is_regular_file(root + "/usr/lib/libosxmapi.so.0")) << installed;
    EXPECT_EQ(commandOutput("dpkg-query --admindir=" + shellWord(root + "/var/lib/dpkg") +
                            " -W -f '${Package} ${db:Status-Abbrev}\\n'"),
              "libosxmapi-dev ii \nlibosxmapi0 ii \nveltimo-solo ii \n")
        << installed;
    const std::string removed = anyOutput(dpkg + "--force-depends --purge " + kDevelopment + " " +
                                          kPrograms + " " + kLibrary);
    EXPECT_FALSE(fs::exists(root + "/usr")) << removed;
}

} // namespace
} // namespace vsolo
