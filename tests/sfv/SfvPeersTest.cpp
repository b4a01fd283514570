// Lists exchanged with cksfv and rhash, both ways.
#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "lists/CreationJob.h"
#include "sfv/SfvKind.h"
#include "lists/VerifyJob.h"
#include "tests/sfv/SfvTestSupport.h"
#include "tests/support/PeerTools.h"
#include "tests/support/TreeListing.h"

namespace velmar {
namespace {

using test::Installed;
using test::RunIn;

const char* const Names[] = {"good.bin", "with space.bin", "bad.bin", "gone.bin"};

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
        test::FakeWindow w;
        JobFrame job(w, state);
        WriteFiles();
        for (const char* name : Names) {
            w.setup.rows.push_back(name);
            w.AddRow(name, IconPending);
        }
        w.setup.edit1 = "album.sfv";
        w.setup.comboBox1 = CommentModeFileInfo;
        w.setup.checkBox1 = true;
        state.CreationDirectory = dir.path();
        RunCreation(job, SfvKind, {[] { return std::time(nullptr); }, {}});
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
    for (const std::string& make : {"cksfv " + files, "rhash --sfv " + files, "cksfv " + files + " | sed 's/$/\\r/'"}) {
        const std::string tool = make.substr(0, make.find(' '));
        if (!Installed(tool)) GTEST_SKIP() << tool << " is not installed";
        WriteFiles();
        ASSERT_EQ(RunIn(dir.path(), make + " > peer.sfv 2>/dev/null; test -s peer.sfv"), 0) << make;
        dir.Write("bad.bin", "changed");
        ::unlink(dir.File("gone.bin").c_str());

        test::FakeWindow w;
        JobFrame job(w, state);
        w.messageAnswers.push_back(MessageAnswer::No);
        VerifyList(job, SfvKind, dir.File("peer.sfv"), dir.path(), ReadPurpose::MenuVerify);
        EXPECT_EQ(test::RowNames(w), (std::vector<std::string>{"good.bin", "with space.bin", "bad.bin", "gone.bin"}))
            << make;
        EXPECT_EQ(test::RowIcons(w), (std::vector<StatusIcon>{IconOk, IconOk, IconBad, IconNA})) << make;
    }
}

}  // namespace
}  // namespace velmar
