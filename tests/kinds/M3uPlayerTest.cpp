// A playlist we write must still play: a real player, given it, plays
// exactly the listed files in order and skips the digest and comment lines.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/kinds/M3uTestSupport.h"

namespace velmar::test {
namespace {

VELMAR_AT_EACH_READING_POLICY(M3uTest);

std::string FindOnPath(const std::string& program) {
    std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string folder; std::getline(path, folder, ':');)
        if (::access((folder + "/" + program).c_str(), X_OK) == 0) return folder + "/" + program;
    return "";
}

// What the player announces, one "Playing: " line per entry it opens.
std::vector<std::string> PlayedEntries(const std::string& player, const std::string& playlist) {
    const std::string command = player + " --no-config --no-ytdl --ao=null --vo=null --frames=0 --idle=no '" +
                                playlist + "' 2>&1 < /dev/null";
    std::vector<std::string> played;
    FILE* out = ::popen(command.c_str(), "r");
    if (!out) return played;
    char line[4096];
    while (std::fgets(line, sizeof line, out)) {
        std::string text(line);
        if (text.rfind("Playing: ", 0) == 0) played.push_back(text.substr(9, text.find_last_not_of("\r\n") - 8));
    }
    ::pclose(out);
    return played;
}

TEST_P(M3uTest, PlayerPlaysTheListedFilesInOrder) {
    const std::string player = FindOnPath("mpv");
    if (player.empty()) GTEST_SKIP() << "mpv is not installed";
    const std::vector<std::string> rows{"01 - Intro.mp3", "02 #2.mp3", "03 Outro.mp3"};
    for (const std::string& name : rows) dir.Write(name, name);
    const std::string playlist = Prepare(rows, CommentModeFileInfo);
    ASSERT_EQ(Create().end, JobEnd::Completed);

    std::vector<std::string> expected;
    for (const std::string& name : rows) expected.push_back(dir.File(name));
    EXPECT_EQ(PlayedEntries(player, playlist), expected);
}

}  // namespace
}  // namespace velmar::test
