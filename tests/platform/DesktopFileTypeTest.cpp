#include "platform/DesktopFileType.h"

#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/PeerTools.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

using test::ReadAll;
using test::TempDir;

struct Desktop {
    TempDir dir;
    DesktopPlaces places;
    Desktop() {
        places.dataHome = dir.File("data");
        places.configHome = dir.File("config");
        places.dataDirs = {dir.File("system")};
    }
    bool Exists(const std::string& path) const { return std::filesystem::exists(path); }
};

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        ::pclose(pipe);
    }
    return out;
}

using test::Installed;

TEST(DesktopFileType, RegisterRemoveRegisterReplacesAnotherProgramsTieAndKeepsTheRest) {
    Desktop d;
    std::filesystem::create_directories(d.places.configHome);
    const std::string others =
        "[Default Applications]\n"
        "text/plain=editor.desktop\n"
        "text/x-sfv = otherchecker.desktop\n"
        "\n"
        "[Added Associations]\n"
        "text/x-sfv=otherchecker.desktop;\n";
    d.dir.Write("config/mimeapps.list", others);

    EXPECT_FALSE(SfvFileTypeRegistered(d.places));
    RegisterSfvFileType(d.places, "/opt/velmar/bin/velmar");
    EXPECT_TRUE(SfvFileTypeRegistered(d.places));
    const std::string entry = ReadAll(d.places.DesktopEntryPath());
    EXPECT_NE(entry.find("\nName=Velmar\n"), std::string::npos);
    EXPECT_NE(entry.find("\nCategories=Utility;\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"/opt/velmar/bin/velmar\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=text/x-sfv;\n"), std::string::npos);
    const std::string package = ReadAll(d.places.MimePackagePath());
    EXPECT_NE(package.find("<mime-type type=\"text/x-sfv\">"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.sfv\"/>"), std::string::npos);
    EXPECT_EQ(ReadAll(d.places.MimeAppsPath()),
              "[Default Applications]\n"
              "text/plain=editor.desktop\n"
              "text/x-sfv=velmar.desktop\n"
              "\n"
              "[Added Associations]\n"
              "text/x-sfv=otherchecker.desktop;\n");

    // Removal deletes what registration wrote even after someone changed it.
    d.dir.Write("data/applications/velmar.desktop", "[Desktop Entry]\nName=Changed\n");
    RemoveSfvFileType(d.places);
    EXPECT_FALSE(SfvFileTypeRegistered(d.places));
    EXPECT_FALSE(d.Exists(d.places.MimePackagePath()));
    EXPECT_EQ(ReadAll(d.places.MimeAppsPath()),
              "[Default Applications]\n"
              "text/plain=editor.desktop\n"
              "\n"
              "[Added Associations]\n"
              "text/x-sfv=otherchecker.desktop;\n");

    RegisterSfvFileType(d.places, "/opt/velmar/bin/velmar");
    EXPECT_TRUE(SfvFileTypeRegistered(d.places));
    EXPECT_NE(ReadAll(d.places.MimeAppsPath()).find("text/x-sfv=velmar.desktop\n"), std::string::npos);
}

// Installed by the package: the user's default points at its entry, and no
// entry of the user's own hides it.
TEST(DesktopFileType, AnInstalledEntryIsMadeTheDefaultAndNotWrittenAgain) {
    Desktop d;
    std::filesystem::create_directories(d.dir.File("system/applications"));
    d.dir.Write("system/applications/velmar.desktop", "[Desktop Entry]\nName=Velmar\n");
    EXPECT_FALSE(SfvFileTypeRegistered(d.places));
    RegisterSfvFileType(d.places, "/usr/bin/velmar");
    EXPECT_TRUE(SfvFileTypeRegistered(d.places));
    EXPECT_FALSE(d.Exists(d.places.DesktopEntryPath()) || d.Exists(d.places.MimePackagePath()));
    EXPECT_EQ(DefaultApplication(ReadAll(d.places.MimeAppsPath()), "text/x-sfv"), "velmar.desktop");
    RemoveSfvFileType(d.places);
    EXPECT_FALSE(SfvFileTypeRegistered(d.places));
}

TEST(DesktopFileType, AMissingMimeappsListGetsItsGroupAndAnUnwritableDataFolderIsSkipped) {
    Desktop d;
    // A file where the data folder should be: nothing can be made under it.
    d.dir.Write("data", "not a folder");
    RegisterSfvFileType(d.places, "/usr/bin/velmar");
    EXPECT_FALSE(SfvFileTypeRegistered(d.places));
    // The step after the failed ones still ran.
    EXPECT_EQ(ReadAll(d.places.MimeAppsPath()), "[Default Applications]\ntext/x-sfv=velmar.desktop\n");
    RemoveSfvFileType(d.places);
    EXPECT_EQ(ReadAll(d.places.MimeAppsPath()), "[Default Applications]\n");
    EXPECT_EQ(ReadAll(d.dir.File("data")), "not a folder");
}

TEST(DesktopFileType, ExecLineQuotesAndEscapesThePath) {
    EXPECT_EQ(DesktopExecLine("/usr/bin/velmar"), "\"/usr/bin/velmar\" %f");
    // " ` $ \ get a backslash inside the quotes, % doubles, and the string
    // escape then doubles each backslash.
    EXPECT_EQ(DesktopExecLine("/home/a b/50% \"v\"/$x`y`\\z/velmar"),
              "\"/home/a b/50%% \\\\\"v\\\\\"/\\\\$x\\\\`y\\\\`\\\\\\\\z/velmar\" %f");

    if (!Installed("desktop-file-validate")) GTEST_SKIP() << "desktop-file-validate is not installed";
    TempDir dir;
    const std::string path =
        dir.Write("velmar.desktop", DesktopEntryText("/home/a b/50% \"v\"/$x`y`\\z/velmar", "text/x-sfv"));
    EXPECT_EQ(Output("desktop-file-validate '" + path + "' 2>&1"), "");
}

TEST(DesktopFileType, TheSystemsOwnTypeForSfvWins) {
    Desktop d;
    EXPECT_EQ(SfvMimeType(d.places), "text/x-sfv");
    std::filesystem::create_directories(d.dir.File("system/mime"));
    d.dir.Write("system/mime/globs2", "# comment\n50:text/plain:*.txt\n50:application/x-checksums:*.SFV:cs\n");
    EXPECT_EQ(SfvMimeType(d.places), "application/x-checksums");
    RegisterSfvFileType(d.places, "/usr/bin/velmar");
    EXPECT_NE(ReadAll(d.places.MimeAppsPath()).find("application/x-checksums=velmar.desktop"), std::string::npos);
    RemoveSfvFileType(d.places);
    EXPECT_EQ(ReadAll(d.places.MimeAppsPath()).find("velmar"), std::string::npos);
}

TEST(DesktopFileType, TheDesktopsOwnToolsSeeTheTie) {
    if (!Installed("xdg-mime")) GTEST_SKIP() << "xdg-mime is not installed";
    Desktop d;
    const std::string query = "env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION"
                              " -u GNOME_DESKTOP_SESSION_ID XDG_DATA_HOME='" + d.places.dataHome +
                              "' XDG_CONFIG_HOME='" + d.places.configHome + "' XDG_DATA_DIRS='" +
                              d.dir.File("system") + "' XDG_CONFIG_DIRS='" + d.dir.File("etc") +
                              "' xdg-mime query default text/x-sfv 2>/dev/null";
    EXPECT_EQ(Output(query), "");
    RegisterSfvFileType(d.places, OwnProgramPath());
    EXPECT_EQ(Output(query), "velmar.desktop\n");
    if (Installed("update-mime-database")) {
        // The user's MIME database now knows the type of "*.sfv".
        EXPECT_NE(ReadAll(d.places.dataHome + "/mime/globs2").find("text/x-sfv:*.sfv"), std::string::npos);
    }
    RemoveSfvFileType(d.places);
    EXPECT_EQ(Output(query), "");
}

TEST(DesktopFileType, OwnProgramPathIsThisBinary) {
    const std::string path = OwnProgramPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

}  // namespace
}  // namespace velmar
