// Lists in the sum-tool layout exchanged with the usual command-line tools,
// both ways, for every kind that writes that layout.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "kinds/SumToolKinds.h"
#include "checksum/FileDigest.h"
#include "lists/AuditJob.h"
#include "lists/CreationJob.h"
#include "kinds/ListKinds.h"
#include "tests/kinds/Md5TestSupport.h"
#include "tests/support/JobTest.h"
#include "tests/support/PeerTools.h"
#include "tests/support/TreeListing.h"

namespace velmar::test {
namespace {

const char* const Names[] = {"good.bin", "with space .bin", "bad.bin", "gone.bin"};
const char* const NamesArgs = "good.bin 'with space .bin' bad.bin gone.bin";
// The coreutils tools' lists also name files with a backslash, a line feed
// and a carriage return (a folder copied from a Mac holds "Icon\r"), which
// they escape (rhash takes a backslash for a folder's).
const std::string Escaped[] = {"back\\slash.bin", "line\nfeed.bin", "Icon\r"};

std::string ArgsOf(const std::vector<std::string>& names) {
    std::string args;
    for (const std::string& name : names) args += " '" + name + "'";
    return args;
}

// Which tool writes a kind's lists: coreutils' (-b, --tag, --strict, every
// layout md5sum reads, every name of Escaped), b3sum (only its own lines,
// no carriage return in a name), xxhsum (--tag and --strict; before 0.8.2
// no escapes, a backslash written as it is) or none but rhash and openssl.
enum class Family { Coreutils, B3sum, Xxhsum, None };

// A kind, its tool as a command ("xxhsum -H3"), rhash's and openssl dgst's
// options for it and the hashdeep suite's tool (empty: none has it).
struct SumKind {
    const ListKind& kind;
    std::string tool{};
    std::string rhashOption{};
    std::string opensslOption{};
    std::string deepTool{};
    Family family = Family::Coreutils;

    bool Coreutils() const { return family == Family::Coreutils; }
    // The check, told the algorithm by the lines.
    std::string Check() const {
        return tool.substr(0, tool.find(' ')) + (family == Family::B3sum ? " -c" : " -c --strict");
    }
    // The names of Escaped the tool writes and reads back.
    std::vector<std::string> EscapedNames() const {
        const std::size_t count = Coreutils() ? 3 : family == Family::B3sum ? 2 : family == Family::Xxhsum ? 1 : 0;
        return {Escaped, Escaped + count};
    }
};
const SumKind SumKinds[] = {
    {.kind = Md5Kind, .tool = "md5sum", .rhashOption = "--md5", .opensslOption = "-md5", .deepTool = "md5deep"},
    {.kind = Sha256Kind, .tool = "sha256sum", .rhashOption = "--sha256", .opensslOption = "-sha256",
     .deepTool = "sha256deep"},
    {.kind = Sha1Kind, .tool = "sha1sum", .rhashOption = "--sha1", .opensslOption = "-sha1", .deepTool = "sha1deep"},
    {.kind = Sha512Kind, .tool = "sha512sum", .rhashOption = "--sha512", .opensslOption = "-sha512"},
    {.kind = Blake2Kind, .tool = "b2sum", .rhashOption = "--blake2b", .opensslOption = "-blake2b512"},
    {.kind = Blake3Kind, .tool = "b3sum", .family = Family::B3sum},
    {.kind = Xxh3Kind, .tool = "xxhsum -H3", .family = Family::Xxhsum},
    {.kind = Xxh128Kind, .tool = "xxhsum -H2", .family = Family::Xxhsum},
    {.kind = Sha3_256Kind, .rhashOption = "--sha3-256", .opensslOption = "-sha3-256", .family = Family::None},
    {.kind = Sha3_512Kind, .rhashOption = "--sha3-512", .opensslOption = "-sha3-512", .family = Family::None},
    {.kind = Sha224Kind, .tool = "sha224sum", .rhashOption = "--sha224", .opensslOption = "-sha224"},
    {.kind = Sha384Kind, .tool = "sha384sum", .rhashOption = "--sha384", .opensslOption = "-sha384"},
};

// Where each of Names, then each of Escaped, lies in the tree that the
// tools' lists of a folder with sub-folders are made of.
const char* const Folders[] = {"", "Disc 1/", "Disc 1/Extras/", "Disc 10/"};
std::string FolderOf(std::size_t file) { return Folders[file % std::size(Folders)]; }

class SumToolPeersTest : public test::ReadingPolicyTest {};
VELMAR_AT_EACH_READING_POLICY(SumToolPeersTest);

// A tool that is not installed skips only its own cases; a test is skipped
// only when none of its cases could run.
TEST_P(SumToolPeersTest, AListVelmarWritesPassesTheToolsUnchanged) {
    int ran = 0;
    for (const SumKind& sum : SumKinds) {
        for (const std::string& tool : {sum.tool, std::string("rhash")}) {
            if (tool.empty() || (tool == "rhash" && sum.rhashOption.empty())) continue;
            if (!Installed(tool)) continue;
            ++ran;
            TempDir dir;
            CreationInputs inputs;
            inputs.rows.assign(std::begin(Names), std::end(Names));
            inputs.directory = dir.path();
            inputs.listName = "list";
            for (const char* name : Names) dir.Write(name, name);
            // A chosen name with a backslash is one file, not a folder's.
            if (tool != "rhash")
                for (const std::string& name : sum.EscapedNames()) {
                    dir.Write(name, name);
                    inputs.rows.push_back(name);
                }
            RecordingSink sink;
            sink.HoldRows(inputs.rows);
            JobControl control;
            test::PinReading(control);
            JobFrame frame(sink, control);
            ASSERT_EQ(frame.Run([&] { RunCreation(frame, sum.kind, inputs); }).end, JobEnd::Completed);
            // Strict: a line the tool cannot read is a failure, not a warning.
            const std::string check = (tool == "rhash" ? "rhash -c" : sum.Check()) + " list";
            EXPECT_EQ(RunIn(dir.path(), check), 0) << tool;
            dir.Write("bad.bin", "changed");
            EXPECT_NE(RunIn(dir.path(), check), 0) << tool << " must see the change";
        }
    }
    if (ran == 0) GTEST_SKIP() << "none of the sum tools nor rhash is installed";
}

TEST_P(SumToolPeersTest, AListOfATreeVelmarWritesPassesTheToolsUnchanged) {
    int ran = 0;
    for (const SumKind& sum : SumKinds)
        for (const std::string& tool : {sum.tool, std::string("rhash")}) {
            if (tool.empty() || (tool == "rhash" && sum.rhashOption.empty())) continue;
            if (!Installed(tool)) continue;
            ++ran;
            ExpectToolPassesListOfTree(sum.kind, tool == "rhash" ? "rhash -c" : sum.Check());
        }
    if (ran == 0) GTEST_SKIP() << "none of the sum tools nor rhash is installed";
}

TEST_P(SumToolPeersTest, ListsTheToolsWriteVerifyWithTheRightIcons) {
    struct Peer {
        const SumKind& sum;
        std::string tool;
        std::string command;
        // A list of the whole folder, its files in sub-folders, each listed
        // with this before its path; nullptr: the files named, side by side.
        const char* tree = nullptr;
    };
    std::vector<Peer> peers;
    for (const SumKind& sum : SumKinds) {
        const std::string tool = sum.tool, files = NamesArgs + ArgsOf(sum.EscapedNames());
        if (!tool.empty()) {
            peers.push_back({sum, tool, tool + " " + files});
            if (sum.Coreutils()) peers.push_back({sum, tool, tool + " -b " + files});
            if (sum.Coreutils() || sum.family == Family::Xxhsum) peers.push_back({sum, tool, tool + " --tag " + files});
            // xxhsum 0.8.2's usual layout of XXH3, the digits after the kind's prefix.
            if (sum.kind.digestPrefix)
                peers.push_back({sum, tool, tool + " --tag " + files + " | sed -E 's/^" + sum.kind.bsdTag +
                                                " \\((.*)\\) = ([0-9a-f]+)$/" + sum.kind.digestPrefix + "\\2  \\1/'"});
            peers.push_back({sum, tool, tool + " " + files + " | sed 's/[0-9a-f]*  /\\U&/'"});
            // md5 -r's layout: one blank after the digest field.
            peers.push_back({sum, tool, tool + " " + files + " | sed -E 's/^([\\\\]?[0-9A-Za-z_]+)  /\\1 /'"});
            peers.push_back({sum, tool, "{ echo '; Generated by a tool'; echo '# checksums'; echo; " + tool + " " +
                                            files + "; echo '# end'; } | sed 's/$/\\r/'"});
            peers.push_back({sum, tool, "find . -type f -exec " + tool + " {} +", "./"});
        }
        if (!sum.rhashOption.empty()) {
            peers.push_back({sum, "rhash", "rhash " + sum.rhashOption + " " + NamesArgs});
            peers.push_back({sum, "rhash", "rhash --bsd " + sum.rhashOption + " " + NamesArgs});
            peers.push_back({sum, "rhash", "rhash -r " + sum.rhashOption + " .", ""});
        }
        if (!sum.opensslOption.empty())
            peers.push_back({sum, "openssl", "openssl dgst " + sum.opensslOption + " " + NamesArgs});
        if (!sum.deepTool.empty()) peers.push_back({sum, sum.deepTool, sum.deepTool + " -r -l .", "./"});
    }
    int ran = 0;
    for (const Peer& peer : peers) {
        SCOPED_TRACE(peer.command);
        if (!Installed(peer.tool)) continue;
        ++ran;
        // Only the coreutils tools write the names that need escapes.
        std::vector<std::string> files(std::begin(Names), std::end(Names));
        if (peer.tool == peer.sum.tool) {
            const std::vector<std::string> escaped = peer.sum.EscapedNames();
            files.insert(files.end(), escaped.begin(), escaped.end());
        }
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < files.size(); ++i) paths.push_back(peer.tree ? FolderOf(i) + files[i] : files[i]);
        TempDir dir;
        WriteTree(dir, ".", paths);
        ASSERT_EQ(MakeListIn(dir.path(), peer.command, "list"), 0);
        dir.Write(paths[2], "changed");
        std::filesystem::remove(dir.File(paths[3]));

        RecordingSink sink;
        VerifyInto(sink, peer.sum.kind, dir.File("list"));
        std::vector<std::pair<std::string, StatusIcon>> expected;
        for (std::size_t i = 0; i < paths.size(); ++i)
            expected.push_back({(peer.tree ? peer.tree : "") + paths[i], i == 2 ? IconBad : i == 3 ? IconNA : IconOk});
        ExpectRows(sink, expected, peer.tree != nullptr);
    }
    if (ran == 0) GTEST_SKIP() << "none of the sum tools nor rhash is installed";
}

// The lists of coreutils' own tests of md5sum -c (md5sum.pl, sha1sum.pl,
// md5sum-bsd.sh), for every kind: "<x>" stands for the kind's digest of the
// text x, "<T>" for its BSD tag; every file holds its own name.
struct ToolInput {
    const char* what;
    std::vector<std::string> files;
    std::string list;
};
const ToolInput CoreutilsInputs[] = {
    {"check", {"f"}, "<f>  f\n"},
    {"check-windows", {"f"}, "<f>  f\r\n"},
    {"ck-strict-1", {"f"}, "<f>  f\n\n"},
    {"ck-strict-2", {"f"}, "ERR\n<f>  f\n"},
    {"check-2", {"f"}, "<>  f\n"},
    {"check-multifail", {"f"}, "<>  f\n<>  f\ninvalid\n"},
    {"check-multifail-state", {"f", "g"}, "<f>  f\n<>  g\n<f>  f\n"},
    {"check-bsd2", {"f"}, "<T> (f) = <f>\n"},
    {"check-bsd3", {"f"}, "<T> (f) = <>\n"},
    {"check-openssl2", {"f"}, "<T>(f)= <f>\n"},
    {"check-openssl3", {"f"}, "<T>(f)= <>\n"},
    {"bsd-segv", {}, "<T> (\n"},
    {"nul-in-cksum", {"h"}, std::string(32, '\0') + "  h\n"},
    {"check.md5sum", {"a", " b", "*c", "dd", " "}, "<a>  a\n< b>   b\n<*c>  *c\n<dd>  dd\n< >   \n"},
    {"check.md5", {"a", " b", "*c", "dd", " "}, "<a> a\n< b>  b\n<*c> *c\n<dd> dd\n< >  \n"},
    {"check2.md5sum", {"a", " b"}, "____not_all_hex_so_no_match_____ blah\n<a>  a\n< b>   b\n"},
    {"tail -n+2 check.md5", {" b", "*c", "dd", " "}, "< b>  b\n<*c> *c\n<dd> dd\n< >  \n"},
    {"--tag", {"a", " b", "*c", "dd", " "}, "<T> (a) = <a>\n<T> ( b) = < b>\n<T> (*c) = <*c>\n<T> (dd) = <dd>\n<T> ( ) = < >\n"},
};

std::string Expanded(std::string text, const ListKind& kind, TempDir& dir) {
    ReadBuffer buffer;
    for (std::size_t open; (open = text.find('<')) != std::string::npos;) {
        const std::size_t close = text.find('>', open);
        const std::string key = text.substr(open + 1, close - open - 1);
        const std::string value = key == "T" ? kind.bsdTag : DigestFile(kind.algorithm, dir.Write(".text", key), buffer).Text();
        text.replace(open, close + 1 - open, value);
    }
    std::filesystem::remove(dir.File(".text"));
    return text;
}

// What a check of the list says in md5sum -c's words: a line per entry, or
// "refused" for a list with none the reader takes.
std::string ToolSays(const std::string& folder, const std::string& tool) {
    const int status = RunIn(folder, "{ LC_ALL=C " + tool + " -c list > ../said; }");
    const std::string said = ReadAll(folder + "/../said");
    return said.empty() && status != 0 ? "refused" : said;
}

std::string VelmarSays(const std::string& list, const ListKind& kind) {
    RecordingSink sink;
    if (VerifyInto(sink, kind, list).end == JobEnd::Failed) return "refused";
    std::string said;
    for (const auto& row : sink.Rows())
        said += row.name + (row.icon == IconOk ? ": OK\n" : row.icon == IconBad ? ": FAILED\n" : ": FAILED open or read\n");
    return said;
}

// An audit's Yes writes its new and moved entries in the list's own
// layout: in md5 -r's, md5sum would read "<digest>  <name>" as the name
// " <name>".
TEST(SumToolPeers, AnAuditedListOfTheReversedLayoutStaysOneTheToolsRead) {
    int ran = 0;
    for (const SumKind& sum : SumKinds) {
        if (!sum.Coreutils() || !Installed(sum.tool)) continue;
        ++ran;
        TempDir dir;
        // Its first line tells its layout: its name begins with no blank.
        WriteTree(dir, ".", {"a.bin", " b.bin", "c.bin"});
        ASSERT_EQ(MakeListIn(dir.path(), sum.tool + " a.bin ' b.bin' c.bin | sed -E 's/^([0-9a-f]+)  /\\1 /'", "list"), 0);
        std::filesystem::create_directory(dir.File("Sub"));
        std::filesystem::rename(dir.File("c.bin"), dir.File("Sub/c.bin"));
        dir.Write("d.bin", "new");
        RecordingSink sink;
        sink.answers = {true};
        JobControl control;
        JobFrame frame(sink, control);
        const std::string list = dir.File("list");
        frame.Run([&] { AuditList(frame, AuditMode::Audit, ListKindOf(list), list); });
        EXPECT_TRUE(Contains(sink.Log(), "Told List Updated"));
        EXPECT_EQ(RunIn(dir.path(), sum.tool + " -c --strict list"), 0) << ReadAll(list);
        EXPECT_EQ(VelmarSays(list, sum.kind), "a.bin: OK\n b.bin: OK\nSub/c.bin: OK\nd.bin: OK\n");
    }
    if (ran == 0) GTEST_SKIP() << "none of the coreutils sum tools is installed";
}

// How the files are read plays no part here: one reading policy is enough.
TEST(SumToolPeers, TheToolsOwnTestListsReadAsTheToolsReadThem) {
    int ran = 0;
    for (const SumKind& sum : SumKinds) {
        if (!sum.Coreutils() || !Installed(sum.tool)) continue;
        ++ran;
        for (const ToolInput& input : CoreutilsInputs) {
            SCOPED_TRACE(sum.tool + " " + input.what);
            TempDir dir;
            std::filesystem::create_directory(dir.File("in"));
            for (const std::string& file : input.files) dir.Write("in/" + file, file);
            const std::string list = dir.Write("in/list", Expanded(input.list, sum.kind, dir));
            EXPECT_EQ(VelmarSays(list, sum.kind), ToolSays(dir.File("in"), sum.tool));
        }
    }
    if (ran == 0) GTEST_SKIP() << "none of the coreutils sum tools is installed";
}

}  // namespace
}  // namespace velmar::test
