#include "platform/Paths.h"

#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(Paths, ListDirectoryIsThePathBeforeItsLastSlash) {
    EXPECT_EQ(ListDirectoryOf("/music/album/album.sfv"), "/music/album");
    EXPECT_EQ(ListDirectoryOf("/album.sfv"), "");
    EXPECT_EQ(ListDirectoryOf("album.sfv"), ".");
    EXPECT_EQ(ListDirectoryOf("sub/album.sfv"), "sub");
}

TEST(Paths, ListedNamesResolveBelowTheListsFolder) {
    EXPECT_EQ(ListedFilePath("/music/album", "track01.mp3"), "/music/album/track01.mp3");
    EXPECT_EQ(ListedFilePath("/music", "disc1\\track01.mp3"), "/music/disc1/track01.mp3");
    EXPECT_EQ(ListedFilePath("", "a.bin"), "/a.bin");
    EXPECT_EQ(ListedFilePath(".", " name with  spaces "), "./ name with  spaces ");
    std::string longName(5000, 'n');
    EXPECT_EQ(ListedFilePath("/d", longName).size(), 5003u);
}

// Where a listed name lies below the list's folder, and the names that
// are that place as they stand.
TEST(Paths, APathBelowAFolderIsItsPlaceThereOnceDotsAndDoubleSlashesAreGone) {
    const struct {
        const char* folder;
        const char* path;
        std::optional<std::string> below;
        bool plain;  // the part after the folder's '/' is its own place
    } cases[] = {
        {"/m", "/m/a/b.bin", "a/b.bin", true},
        {".", "./a.bin", "a.bin", true},
        {"", "/a.bin", "a.bin", true},
        {".", ".//./a//b/../c", "a/c", false},
        {"/m", "/m/../x", std::nullopt, false},
        {"/m", "/m/a/../../x", std::nullopt, false},
        {"/m", "/mx/a", std::nullopt, false},
        {"/m", "/m/a/.", "a", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathBelowFolder(c.folder, c.path), c.below) << c.path;
        EXPECT_EQ(IsPlainRelativePath(std::string_view(c.path).substr(std::string_view(c.folder).size() + 1)), c.plain)
            << c.path;
    }
    EXPECT_FALSE(IsPlainRelativePath("a\\b"));
}

TEST(Paths, ChosenFilesAreNamedBelowTheDeepestFolderHoldingThemAll) {
    struct Case {
        std::vector<std::string> paths;
        std::string folder;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {.paths = {"/m/a/x.bin", "/m/a/y.bin"}, .folder = "/m/a", .names = {"x.bin", "y.bin"}},
        {.paths = {"/m/Disc1/x.bin", "/m/Disc2/y.bin", "/m/z.bin"}, .folder = "/m",
         .names = {"Disc1/x.bin", "Disc2/y.bin", "z.bin"}},
        {.paths = {"/m/ab/x.bin", "/m/a/y.bin"}, .folder = "/m", .names = {"ab/x.bin", "a/y.bin"}},
        {.paths = {"/m/x.bin", "/n/y.bin"}, .folder = "", .names = {"m/x.bin", "n/y.bin"}},
        {.paths = {"/x.bin"}, .folder = "", .names = {"x.bin"}},
        {.paths = {"sub/x.bin", "y.bin"}, .folder = ".", .names = {"sub/x.bin", "y.bin"}},
    };
    for (const Case& c : cases) {
        const FilesBelowFolder below = CommonFolderOf(c.paths);
        EXPECT_EQ(below.folder, c.folder) << c.paths.front();
        EXPECT_EQ(below.names, c.names) << c.paths.front();
        for (std::size_t i = 0; i < c.paths.size(); ++i)
            EXPECT_EQ(ChosenFilePath(below.folder, below.names[i]), c.folder == "." ? "./" + c.paths[i] : c.paths[i]);
    }
}

TEST(Paths, BaseNameIsThePartAfterTheLastSlash) {
    EXPECT_EQ(BaseNameOf("/music/album/track01.mp3"), "track01.mp3");
    EXPECT_EQ(BaseNameOf("track01.mp3"), "track01.mp3");
    EXPECT_EQ(BaseNameOf("/music/"), "");
    EXPECT_EQ(BaseNameOf("/d/\xe9t\xe9.mp3"), "\xe9t\xe9.mp3") << "bytes pass through unconverted";
}

}  // namespace
}  // namespace velmar
