// The Debian packages as `cpack -G DEB` makes them from this build: the three packages, their
// files and dependencies, the library's shlibs, symbols and trigger, the hardening of the
// binaries, lintian's verdict, and an install and removal with dpkg in a scratch root.

#include "tests/support/pdftext.h"
#include "tests/support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
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
        std::string deb;
        std::string root;
        std::string control;
    };

    static void SetUpTestSuite() {
        if (s_dir) {
            return;
        }
        s_dir = std::make_unique<testing::TempDir>();
        commandOutput("cpack -G DEB --config " VSOLO_BUILD_DIR "/CPackConfig.cmake -B " +
                      shellWord(s_dir->path()) + " >/dev/null");
        for (const auto& entry : fs::directory_iterator(s_dir->path())) {
            if (entry.path().extension() != ".deb") {
                continue;
            }
            const std::string deb = entry.path().string();
            const std::string name = commandOutput("dpkg-deb -f " + shellWord(deb) + " Package");
            Package& package = s_packages[name.substr(0, name.find('\n'))];
            package = {deb, s_dir->file(name + "root"), s_dir->file(name + "control")};
            commandOutput("dpkg-deb -x " + shellWord(deb) + " " + shellWord(package.root));
            commandOutput("dpkg-deb -e " + shellWord(deb) + " " + shellWord(package.control));
        }
    }
    static const Package& package(const std::string& name) {
        const auto found = s_packages.find(name);
        if (found == s_packages.end()) {
            throw std::runtime_error("cpack made no package " + name);
        }
        return found->second;
    }
    static std::string field(const std::string& name, const std::string& which) {
        return commandOutput("dpkg-deb -f " + shellWord(package(name).deb) + " " + which);
    }

    static std::unique_ptr<testing::TempDir> s_dir;
    static std::map<std::string, Package> s_packages;
};
std::unique_ptr<testing::TempDir> PackageTest::s_dir;
std::map<std::string, PackageTest::Package> PackageTest::s_packages;

TEST_F(PackageTest, MakesThePackagesOfTheProgramsTheLibraryAndItsHeader) {
    std::set<std::string> names;
    for (const auto& [name, made] : s_packages) {
        names.insert(name);
        EXPECT_EQ(fs::path(made.deb).filename(), name + "_" + kVersion + "_amd64.deb");
        EXPECT_EQ(field(name, "Version"), kVersion + "\n");
        EXPECT_EQ(field(name, "Source"), std::string(kPrograms) + "\n");
    }
    EXPECT_EQ(names, (std::set<std::string>{kPrograms, kLibrary, kDevelopment}));
}

struct PackagedFile {
    const char* package;
    const char* path;
};

class PackageFileTest : public PackageTest, public ::testing::WithParamInterface<PackagedFile> {};

TEST_P(PackageFileTest, IsInItsPackageAlone) {
    for (const char* name : {kPrograms, kLibrary, kDevelopment}) {
        EXPECT_EQ(fs::exists(fs::symlink_status(package(name).root + "/" + GetParam().path)),
                  name == std::string(GetParam().package))
            << GetParam().path << " in " << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, PackageFileTest,
    ::testing::Values(PackagedFile{kPrograms, "usr/bin/vsolo"},
                      PackagedFile{kPrograms, "usr/bin/vsreport"},
                      PackagedFile{kPrograms, "usr/bin/vsolo-cli"},
                      PackagedFile{kPrograms, "usr/libexec/veltimo-solo/vsolo"},
                      PackagedFile{kPrograms, "usr/libexec/veltimo-solo/vsreport"},
                      PackagedFile{kPrograms, "usr/libexec/veltimo-solo/vsolo-cli"},
                      PackagedFile{kPrograms, "usr/libexec/veltimo-solo/vsolo-cli-pdf"},
                      PackagedFile{kPrograms, "usr/libexec/veltimo-solo/tips.txt"},
                      PackagedFile{kPrograms, "usr/share/man/man1/vsolo.1.gz"},
                      PackagedFile{kPrograms, "usr/share/man/man1/vsreport.1.gz"},
                      PackagedFile{kPrograms, "usr/share/man/man1/vsolo-cli.1.gz"},
                      PackagedFile{kPrograms, "usr/share/doc/veltimo-solo/copyright"},
                      PackagedFile{kPrograms, "usr/share/doc/veltimo-solo/changelog.Debian.gz"},
                      PackagedFile{kLibrary, "usr/lib/libosxmapi.so.0"},
                      PackagedFile{kLibrary, "usr/share/doc/libosxmapi0/copyright"},
                      PackagedFile{kLibrary, "usr/share/doc/libosxmapi0/changelog.Debian.gz"},
                      PackagedFile{kDevelopment, "usr/include/osxmapi.h"},
                      PackagedFile{kDevelopment, "usr/lib/libosxmapi.so"},
                      PackagedFile{kDevelopment, "usr/share/doc/libosxmapi-dev/copyright"}),
    [](const auto& param) {
        std::string name = param.param.path;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

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

// The programs depend on what dpkg-shlibdeps found them linked against, with versions, on this
// very version of the library package, and recommend the fonts the reports are laid out for; the
// library on what it links and recommends the composer's starter; the header on the library.
TEST_F(PackageTest, DependsOnWhatTheyUse) {
    const std::string library = std::string(kLibrary) + " (= " + kVersion + ")";
    struct Expected {
        const char* package;
        const char* field;
        std::vector<std::string> parts;
    };
    for (const Expected& expected : std::vector<Expected>{
             {kPrograms, "Depends", {library, "libc6 (>= ", "libstdc++6 (>= ", "libqt6widgets6"}},
             {kPrograms, "Recommends", {"fonts-liberation2"}},
             {kLibrary, "Depends", {"libc6 (>= ", "libstdc++6 (>= ", "libvmime"}},
             {kLibrary, "Recommends", {"xdg-utils"}},
             {kDevelopment, "Depends", {library}}}) {
        const std::string value = field(expected.package, expected.field);
        for (const std::string& part : expected.parts) {
            EXPECT_NE(value.find(part), std::string::npos)
                << expected.package << " " << expected.field << ": " << value;
        }
    }
    EXPECT_EQ(field(kLibrary, "Depends").find("osxmapi"), std::string::npos);
}

// Programs built against the library depend on its package through its shlibs and symbols
// files, which name its soname and every symbol it exports; one trigger runs ldconfig, and no
// maintainer script does it again.
TEST_F(PackageTest, LibraryCarriesItsShlibsSymbolsAndTrigger) {
    const Package& library = package(kLibrary);
    const std::string lib = library.root + "/usr/lib/libosxmapi.so.0";
    EXPECT_NE(commandOutput("objdump -p " + shellWord(lib))
                  .find("SONAME               "
                        "libosxmapi.so.0\n"),
              std::string::npos);
    EXPECT_EQ(testing::readBytes(library.control + "/shlibs"),
              "libosxmapi 0 libosxmapi0 (>= 4.0.0)\n");
    std::set<std::string> listed;
    for (const std::string& line : linesOf(testing::readBytes(library.control + "/symbols"))) {
        if (line.starts_with(" ")) {
            listed.insert(line.substr(1, line.find('@') - 1));
        }
    }
    std::set<std::string> exported;
    for (const std::string& line : linesOf(commandOutput("nm -D --defined-only " + shellWord(lib) +
                                                         " | awk '$2 == \"T\" {print $3}'"))) {
        exported.insert(line);
    }
    EXPECT_EQ(listed, exported);
    EXPECT_EQ(testing::readBytes(library.control + "/triggers").find("activate-noawait ldconfig"),
              testing::readBytes(library.control + "/triggers").rfind("activate-noawait ldconfig"));
    for (const auto& [name, made] : s_packages) {
        EXPECT_EQ(fs::exists(made.control + "/triggers"), name == kLibrary) << name;
        for (const char* script : {"preinst", "postinst", "prerm", "postrm"}) {
            EXPECT_FALSE(fs::exists(made.control + "/" + script)) << name << " " << script;
        }
    }
}

// The binaries of an optimised build carry the hardening of dpkg-buildflags.
TEST_F(PackageTest, BinariesAreHardened) {
    if (!VSOLO_OPTIMISED) {
        GTEST_SKIP() << "a debug build is not hardened";
    }
    for (const std::string& binary :
         {package(kLibrary).root + "/usr/lib/libosxmapi.so.0",
          package(kPrograms).root + "/usr/libexec/veltimo-solo/vsolo",
          package(kPrograms).root + "/usr/libexec/veltimo-solo/vsreport",
          package(kPrograms).root + "/usr/libexec/veltimo-solo/vsolo-cli",
          package(kPrograms).root + "/usr/libexec/veltimo-solo/vsolo-cli-pdf"}) {
        const std::string report = anyOutput("hardening-check " + shellWord(binary));
        // A shared library is position-independent code, not an executable.
        const bool library = binary.ends_with(".so.0");
        for (const char* feature :
             {library ? " Position Independent Executable: no, regular shared library (ignored)"
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
            if (line.starts_with("W: ")) {
                const std::string tag = line.substr(line.find(": ", 3) + 2);
                EXPECT_NE(readme.find("`" + tag.substr(0, tag.find(' ')) + "`"), std::string::npos)
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
    // Of the dependencies only the library package's are checked: the scratch root has no others.
    const std::string alone = anyOutput(dpkg + "-i " + shellWord(package(kPrograms).deb));
    EXPECT_NE(alone.find("depends on libosxmapi0"), std::string::npos) << alone;
    const std::string installed =
        anyOutput(dpkg + "--force-depends -i " + shellWord(package(kLibrary).deb) + " " +
                  shellWord(package(kPrograms).deb) + " " + shellWord(package(kDevelopment).deb));
    EXPECT_TRUE(fs::is_regular_file(root + "/usr/bin/vsolo-cli")) << installed;
    EXPECT_TRUE(fs::is_regular_file(root + "/usr/lib/libosxmapi.so.0")) << installed;
    for (const char* name : {kPrograms, kLibrary, kDevelopment}) {
        EXPECT_NE(anyOutput("dpkg --root=" + shellWord(root) + " -s " + name)
                      .find("install ok installed"),
                  std::string::npos)
            << name << "\n"
            << installed;
    }
    const std::string removed = anyOutput(dpkg + "--force-depends --purge " + kDevelopment + " " +
                                          kPrograms + " " + kLibrary);
    EXPECT_FALSE(fs::exists(root + "/usr/bin")) << removed;
    EXPECT_FALSE(fs::exists(root + "/usr/lib")) << removed;
    EXPECT_FALSE(fs::exists(root + "/usr/share/doc")) << removed;
}

} // namespace
} // namespace vsolo
