// Lists exchanged with cksfv and rhash, both ways.
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "lists/CreationJob.h"
#include "kinds/SfvKind.h"
#include "lists/VerifyJob.h"
#include "tests/kinds/SfvTestSupport.h"
#include "tests/support/PeerTools.h"
#include "tests/support/TreeListing.h"

namespace velmar {
namespace {

using test::Installed;
using test::RunIn;

const char* const Names[] = {"good.bin", "with space.bin", "bad.bin", "gone.bin"};
// Where each of Names lies in the tree a list of a whole folder is made of.
const char* const TreeFolders[] = {"", "Disc 1/", "Disc 1/Extras/", "Disc 10/"};

class SfvPeersTest : public test::SfvTest {
protected:
    void WriteFiles() {
        for (const char* name : Names) dir.Write(name, std::string(1000, name[0]) + name);
    }
};
VELMAR_AT_EACH_READING_POLICY(SfvPeersTest);

TEST_P(SfvPeersTest, AListVelmarWritesPassesCksfvAndRhash) {
    for (const std::string check : {"cksfv -q -f album.sfv", "rhash -c album.sfv"}) {
        const std::string tool = check.substr(0, check.find(' '));
        if (!Installed(tool)) GTEST_SKIP() << tool << " is not installed";
        WriteFiles();
        const CreationInputs inputs{.rows = {std::begin(Names), std::end(Names)}, .directory = dir.path(),
                                    .listName = "album.sfv", .commentMode = CommentModeFileInfo,
                                    .oneLineComment = {}, .commentFile = {}, .winsfv = true};
        test::RecordingSink events;
        events.HoldRows(inputs.rows);
        JobFrame job(events, control);
        ASSERT_EQ(job.Run([&] { RunCreation(job, SfvKind, inputs); }).end, JobEnd::Completed);
        EXPECT_EQ(RunIn(dir.path(), check), 0) << check;
        dir.Write("bad.bin", "changed");
        EXPECT_NE(RunIn(dir.path(), check), 0) << check << " must see the change";
    }
}

TEST_P(SfvPeersTest, AListOfATreeVelmarWritesPassesCksfvAndRhash) {
    for (const std::string check : {"cksfv -q -f", "rhash -c"}) {
        if (!Installed(check.substr(0, check.find(' ')))) GTEST_SKIP() << check << " is not installed";
        test::ExpectToolPassesListOfTree(SfvKind, check);
    }
}

TEST_P(SfvPeersTest, ListsTheToolsWriteVerifyWithTheRightIcons) {
    const std::string files = "good.bin 'with space.bin' bad.bin gone.bin";
    const struct {
        std::string make;
        bool tree;  // a list of the whole folder, its files in sub-folders
    } peers[] = {{"cksfv " + files, false},
                 {"rhash --sfv " + files, false},
                 {"cksfv " + files + " | sed 's/$/\\r/'", false},
                 {"rhash -r --sfv .", true}};
    for (const auto& [make, tree] : peers) {
        const std::string tool = make.substr(0, make.find(' '));
        if (!Installed(tool)) GTEST_SKIP() << tool << " is not installed";
        test::TempDir folder;
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < std::size(Names); ++i)
            paths.push_back((tree ? std::string(TreeFolders[i]) : "") + Names[i]);
        test::WriteTree(folder, ".", paths);
        ASSERT_EQ(test::MakeListIn(folder.path(), make, "peer.sfv"), 0) << make;
        folder.Write(paths[2], "changed");
        ::unlink(folder.File(paths[3]).c_str());

        SCOPED_TRACE(make);
        test::RecordingSink events;
        events.answers.push_back(false);
        EXPECT_EQ(VerifyOn(events, folder.File("peer.sfv"), folder.path(), ReadPurpose::MenuVerify).end,
                  JobEnd::Completed);
        std::vector<std::pair<std::string, StatusIcon>> expected;
        for (std::size_t i = 0; i < paths.size(); ++i)
            expected.push_back({paths[i], i == 2 ? IconBad : i == 3 ? IconNA : IconOk});
        test::ExpectRows(events, expected, tree);
    }
}

}  // namespace
}  // namespace velmar
