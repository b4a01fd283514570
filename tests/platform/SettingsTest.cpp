#include "platform/Settings.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace velmar {
namespace {

using test::TempDir;

const char* kPositions = "Software\\Velmar\\TRegistry\\Positions";

TEST(SettingsStore, ValuesSurviveASaveWithTheirTypesAndSigns) {
    TempDir dir;
    SettingsStore store(dir.File("deep/er/settings.reg"));
    store.WriteInteger(kPositions, "FormTop", -20);
    store.WriteInteger(kPositions, "FormLeft", 2147483647);
    store.WriteString("Software\\Classes\\Velmar", "", "SFV \"File\"\\ with\nlines");
    ASSERT_TRUE(store.Save());

    SettingsStore again(store.Path());
    again.Load();
    EXPECT_EQ(again.ReadInteger(kPositions, "FormTop"), -20);
    EXPECT_EQ(again.ReadInteger(kPositions, "FormLeft"), 2147483647);
    EXPECT_EQ(again.ReadString("Software\\Classes\\Velmar", ""), "SFV \"File\"\\ with\nlines");
    // A value of the other type is no value.
    EXPECT_EQ(again.ReadString(kPositions, "FormTop"), std::nullopt);
    EXPECT_EQ(again.ReadInteger("Software\\Classes\\Velmar", ""), std::nullopt);
}

TEST(SettingsStore, BrokenLinesAreSkippedOneByOne) {
    TempDir dir;
    std::string path = dir.Write("settings.reg",
                                 "\"Orphan\"=dword:00000001\n"
                                 "[Software\\Velmar\\TRegistry\\Positions]\r\n"
                                 "\"FormTop\"=\"120\"\r\n"
                                 "\"FormLeft\"=dword:0000002a\r\n"
                                 "\"FormWidth\"=dword:12\n"
                                 "garbage\n"
                                 "\"FormHeight\"=dword:zzzzzzzz\n");
    SettingsStore store(path);
    store.Load();
    EXPECT_EQ(store.ReadInteger(kPositions, "FormTop"), std::nullopt);
    EXPECT_EQ(store.ReadInteger(kPositions, "FormLeft"), 42);
    EXPECT_EQ(store.ReadInteger(kPositions, "FormWidth"), std::nullopt);
    EXPECT_EQ(store.ReadInteger(kPositions, "FormHeight"), std::nullopt);
    EXPECT_EQ(store.ReadInteger("", "Orphan"), std::nullopt);
}

TEST(SettingsStore, AMissingFileIsEmptyAndDeletingAKeyTakesItsSubkeys) {
    TempDir dir;
    SettingsStore store(dir.File("none.reg"));
    store.Load();
    EXPECT_FALSE(store.KeyExists(kPositions));
    store.WriteString("A\\B", "x", "1");
    store.WriteString("A\\B\\C", "y", "2");
    store.WriteString("A\\BC", "z", "3");
    store.DeleteKey("A\\B");
    EXPECT_FALSE(store.KeyExists("A\\B"));
    EXPECT_FALSE(store.KeyExists("A\\B\\C"));
    EXPECT_TRUE(store.KeyExists("A\\BC"));
}

TEST(SettingsStore, DefaultPathFollowsTheConfigFolder) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::string restore = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/cfg/velmar/settings.reg");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as the standard says
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/home/u/.config/velmar/settings.reg");
    if (saved) ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace velmar
