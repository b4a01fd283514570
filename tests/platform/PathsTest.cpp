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

TEST(Paths, BaseNameIsThePartAfterTheLastSlash) {
    EXPECT_EQ(BaseNameOf("/music/album/track01.mp3"), "track01.mp3");
    EXPECT_EQ(BaseNameOf("track01.mp3"), "track01.mp3");
    EXPECT_EQ(BaseNameOf("/music/"), "");
    EXPECT_EQ(BaseNameOf("/d/\xe9t\xe9.mp3"), "\xe9t\xe9.mp3") << "bytes pass through unconverted";
}

}  // namespace
}  // namespace velmar
