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
