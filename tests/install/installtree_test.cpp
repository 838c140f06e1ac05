// The tree `cmake --install` makes, installed once into a temporary prefix and run from there.

#include "tests/support/runprogram.h"
#include "tests/support/tempdir.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
namespace t = vsolo::testing;

namespace {

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The standard output of a shell command line.
std::string capture(const std::string& commandLine) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(commandLine.c_str(), "r"), ::pclose);
    char chunk[4096];
    for (std::size_t n = 0; pipe && (n = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0;) {
        out.append(chunk, n);
    }
    return out;
}

class InstallTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_prefix = new t::TempDir;
        const std::string install =
            std::string(VSOLO_CMAKE) + " --install '" VSOLO_BUILD_DIR "' --prefix '" +
            s_prefix->path() + "' > '" + s_prefix->file("install.log") + "' 2>&1";
        s_installed = std::system(install.c_str()) == 0;
    }
    static void TearDownTestSuite() {
        delete s_prefix;
        s_prefix = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_installed) << slurp(s_prefix->file("install.log")); }

    static fs::path prefix() { return s_prefix->path(); }
    static fs::path programDir() { return prefix() / VSOLO_PROGRAMDIR; }

    // Runs an installed program from a folder of its own, with a home, settings and runtime
    // folder of its own and nothing of the build tree on the library path.
    t::ProgramRun run(const fs::path& program, const std::vector<std::string>& args) const {
        const fs::path home = fs::path(m_scratch.path()) / "home";
        const fs::path runtime = fs::path(m_scratch.path()) / "run";
        fs::create_directories(home);
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        const std::string cwd = fs::current_path();
        fs::current_path(m_scratch.path());
        const t::ProgramRun result =
            t::runProgram(program, args, m_scratch.path(),
                          {0,
                           {{"HOME", home.string()},
                            {"XDG_CONFIG_HOME", (home / ".config").string()},
                            {"XDG_DATA_HOME", (home / ".local/share").string()},
                            {"XDG_RUNTIME_DIR", runtime.string()},
                            {"QT_QPA_PLATFORM", "offscreen"},
                            {"LD_LIBRARY_PATH", std::nullopt},
                            {"PATH", "/usr/bin:/bin"}}});
        fs::current_path(cwd);
        return result;
    }

    t::TempDir m_scratch;

private:
    static inline t::TempDir* s_prefix = nullptr;
    static inline bool s_installed = false;
};

// The commands on the path, the programs' own folder, the library and its header.
class InstalledFile : public InstallTree, public ::testing::WithParamInterface<const char*> {};

TEST_P(InstalledFile, IsInPlace) {
    EXPECT_TRUE(fs::exists(prefix() / GetParam())) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Tree, InstalledFile,
    ::testing::Values(VSOLO_BINDIR "/vsolo", VSOLO_BINDIR "/vsreport", VSOLO_BINDIR "/vsolo-cli",
                      VSOLO_PROGRAMDIR "/vsolo", VSOLO_PROGRAMDIR "/vsreport",
                      VSOLO_PROGRAMDIR "/vsolo-cli", VSOLO_PROGRAMDIR "/vsolo-cli-pdf",
                      VSOLO_PROGRAMDIR "/tips.txt", VSOLO_LIBDIR "/" VSOLO_OSXMAPI_SONAME,
                      VSOLO_INCLUDEDIR "/osxmapi.h"));

TEST_F(InstallTree, TipsAreTheCommittedOnes) {
    EXPECT_EQ(slurp(programDir() / "tips.txt"), slurp(VSOLO_SOURCE_DIR "/tracker/tips.txt"));
}

// Each command is a relative link into the programs' folder, which is where the tracker looks
// for vsreport and tips.txt and vsolo-cli for its printer.
class Command : public InstallTree, public ::testing::WithParamInterface<const char*> {};

TEST_P(Command, LeadsIntoTheProgramFolder) {
    const fs::path command = prefix() / VSOLO_BINDIR / GetParam();
    ASSERT_TRUE(fs::is_symlink(command));
    EXPECT_TRUE(fs::read_symlink(command).is_relative());
    EXPECT_EQ(fs::canonical(command), fs::canonical(programDir() / GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Tree, Command, ::testing::Values("vsolo", "vsreport", "vsolo-cli"));

// The run path names the library folder from the program's own, and nothing of the build.
class Program : public InstallTree, public ::testing::WithParamInterface<const char*> {};

TEST_P(Program, FindsTheLibraryFromItsOwnFolder) {
    const std::string dynamic =
        capture("readelf -d '" + (programDir() / GetParam()).string() + "' 2>&1");
    EXPECT_NE(dynamic.find("[$ORIGIN/" VSOLO_PROGRAM_TO_LIBDIR "]"), std::string::npos) << dynamic;
    EXPECT_EQ(dynamic.find(VSOLO_BUILD_DIR), std::string::npos) << dynamic;
}

INSTANTIATE_TEST_SUITE_P(Tree, Program,
                         ::testing::Values("vsolo", "vsreport", "vsolo-cli", "vsolo-cli-pdf"));

class Window : public InstallTree, public ::testing::WithParamInterface<const char*> {};

TEST_P(Window, StartsFromTheInstalledCommand) {
    const t::ProgramRun r = run(prefix() / VSOLO_BINDIR / GetParam(), {"--quit-after-first-paint"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Tree, Window, ::testing::Values("vsolo", "vsreport"));

TEST_F(InstallTree, TrackerFindsTheReportingTool) {
    // The tracker starts the tool from the folder of its resolved executable.
    const fs::path folder = fs::canonical(prefix() / VSOLO_BINDIR / "vsolo").parent_path();
    const fs::path tool = folder / "vsreport";
    ASSERT_TRUE(fs::is_regular_file(tool));
    EXPECT_EQ(::access(tool.c_str(), X_OK), 0);
}

TEST_F(InstallTree, CommandLineHandsPdfToItsPrinter) {
    const fs::path pdf = fs::path(m_scratch.path()) / "sheet.pdf";
    const t::ProgramRun r =
        run(prefix() / VSOLO_BINDIR / "vsolo-cli",
            {"pdf", "timesheet", VSOLO_SOURCE_DIR "/docs/sample.tpl", "-o", pdf.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(slurp(pdf).substr(0, 5), "%PDF-");
}

// The template type is known by the header of each layout, under any name, and another file is
// not taken for one.
struct Layout {
    const char* name;
    std::string firstBytes;
    bool isTemplate = true;
};

class TemplateType : public InstallTree, public ::testing::WithParamInterface<Layout> {};

TEST_P(TemplateType, IsDetectedByContent) {
    const fs::path packages = prefix() / "share/mime/packages";
    if (!fs::is_directory(packages)) {
        GTEST_SKIP() << "no MIME type is installed";
    }
    ASSERT_EQ(std::system(("update-mime-database '" + (prefix() / "share/mime").string() +
                           "' > /dev/null 2>&1")
                              .c_str()),
              0);
    const fs::path file = fs::path(m_scratch.path()) / "template";
    std::ofstream(file, std::ios::binary) << GetParam().firstBytes << std::string(100, '\0');
    const std::string type =
        capture("env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION"
                " -u GNOME_DESKTOP_SESSION_ID XDG_DATA_DIRS='" +
                (prefix() / "share").string() + "' XDG_DATA_HOME='" + m_scratch.path() +
                "' xdg-mime query filetype '" + file.string() + "' 2>&1");
    EXPECT_EQ(type == "application/x-veltimo-solo-template\n", GetParam().isTemplate) << type;
}

INSTANTIATE_TEST_SUITE_P(Tree, TemplateType,
                         ::testing::Values(Layout{"Version4", std::string("\x04\0\0\0", 4)},
                                           Layout{"Tag512", std::string("\0\x02\0\0", 4)},
                                           Layout{"Managed512", "ATra"},
                                           Layout{"Tag768", std::string("\0\x03\0\0", 4)},
                                           Layout{"NotATemplate", "%PDF", false}),
                         [](const auto& layout) { return std::string(layout.param.name); });

} // namespace
