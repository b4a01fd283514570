// velmar-cli as scripts run it: every subcommand against a small tree, with
// what it prints and the exit status it ends with; its lists byte for byte
// the window's; SIGINT during a verification and a creation.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "tests/support/PeerTools.h"
#include "tests/support/TreeListing.h"

namespace velmar::test {
namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

// velmar-cli with `arguments` in `folder`; with `interruptAfter`, SIGINT
// once the first line of output has come and that long again has passed.
CliRun RunCli(const std::string& folder, const std::vector<std::string>& arguments,
           std::chrono::milliseconds interruptAfter = std::chrono::milliseconds(-1)) {
    TempDir outputs;
    const std::string out = outputs.File("out"), err = outputs.File("err");
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(99);
        ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        std::vector<char*> argv{const_cast<char*>(VELMAR_CLI)};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(VELMAR_CLI, argv.data());
        ::_exit(98);
    }
    if (interruptAfter.count() >= 0) {
        std::this_thread::sleep_for(interruptAfter);
        ::kill(child, SIGINT);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadAll(out), ReadAll(err)};
}

constexpr const char* EmptyFileSha256 = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

// A list's text with its clock times taken out: "Dec 09 23:55:44 2026".
std::string WithoutTimes(const std::string& text) {
    static const std::regex time(R"([A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4})");
    return std::regex_replace(text, time, "TIME");
}

TEST(CliTest, EachCommandPrintsItsRowsAndEndsWithItsStatus) {
    TempDir dir;
    const std::string tree = WriteTree(dir, "Tree", {"a.bin", "b.bin", "c.bin", "Disc 1/d.bin"});
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        std::function<void()> before;
        int status;
        std::string out;  // standard output whole
        std::string err;  // in standard error
    } steps[] = {
        {"create of the tree", {"create", "--kind", "md5", "."}, {}, 0, "", "MD5 file creation complete!"},
        {"create again, nothing replaced", {"create", "--kind", "md5", "."}, {}, 1, "", "--force replaces it"},
        {"all good", {"verify", "md5sum"}, {}, 0, "Disc 1/d.bin: OK\na.bin: OK\nb.bin: OK\nc.bin: OK\n", "OK:4  BAD:0  N/A:0"},
        {"bad and missing",
         {"verify", "md5sum"},
         [&] {
             dir.Write("Tree/b.bin", "changed");
             std::filesystem::remove(tree + "/c.bin");
         },
         2 | 4,
         "Disc 1/d.bin: OK\na.bin: OK\nb.bin: FAILED\nc.bin: FAILED open or read\n",
         "OK:2  BAD:1  N/A:1"},
        {"quiet", {"verify", "--quiet", "md5sum"}, {}, 6, "b.bin: FAILED\nc.bin: FAILED open or read\n", ""},
        {"status", {"verify", "--status", "md5sum"}, {}, 6, "", ""},
        {"two lists, one missing", {"verify", "--status", "md5sum", "none.md5"}, {}, 1 | 6, "",
         "velmar-cli: none.md5: Error Reading MD5 File.. Exiting"},
        {"audit",
         {"audit", "--quiet", "md5sum"},
         [&] {
             dir.Write("Tree/new.bin", "new");
             std::filesystem::rename(tree + "/a.bin", tree + "/Disc 1/a.bin");
         },
         2 | 4 | 8,
         "a.bin: MOVED -> Disc 1/a.bin\nb.bin: FAILED\nc.bin: FAILED open or read\nnew.bin: NEW\n",
         "OK:1  BAD:1  N/A:1  NEW:1  MOVED:1"},
        {"audit --update", {"audit", "--update", "--status", "md5sum"}, {}, 14, "", ""},
        // b.bin is older than the list that calls it bad: damaged in place, +64.
        {"the updated list", {"verify", "--quiet", "md5sum"}, {}, 2 | 64, "b.bin: FAILED\n", "OK:3  BAD:1  N/A:0"},
        {"add", {"add", "md5sum"}, [&] { dir.Write("Tree/Disc 1/z.bin", "z"); }, 0, "Disc 1/z.bin: NEW\n", "List Updated"},
        {"nothing more to add", {"add", "md5sum"}, {}, 0, "", "No New Files Found"},
        {"a kind forced on a list whose name says another",
         {"verify", "--kind", "md5", "--quiet", "copy.sfv"},
         [&] { std::filesystem::copy_file(tree + "/md5sum", tree + "/copy.sfv"); },
         2 | 64,
         "b.bin: FAILED\n",
         "OK:4  BAD:1  N/A:0"},
        {"bad usage", {"verify"}, {}, 1, "", "usage: velmar-cli"},
        {"a download against the digest its page shows",
         {"check", "abc.iso", "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
         [&] { dir.Write("Tree/abc.iso", "abc"); },
         0,
         "abc.iso: OK (SHA-256)\n",
         ""},
        {"a download that matches no digest of that length", {"check", "abc.iso", std::string(64, '0')}, {}, 2,
         "abc.iso: FAILED\n", ""},
        {"a download against the list beside it",
         {"check", "abc.iso", "--list", "SHA256SUMS"},
         [&] {
             dir.Write("Tree/SHA256SUMS", std::string(64, '1') + " *other.iso\n"
                                          "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad *abc.iso\n");
         },
         0,
         "abc.iso: OK (SHA-256)\n",
         ""},
        {"a download not there", {"check", "gone.iso", "352441c2"}, {}, 4, "", "gone.iso missing"},
        {"a download's digests, as the tools tag them",
         {"check", "--tag", "abc.iso"},
         {},
         0,
         "CRC32 (abc.iso) = 352441c2\nMD5 (abc.iso) = 900150983cd24fb0d6963f7d28e17f72\n"
         "SHA1 (abc.iso) = a9993e364706816aba3e25717850c26c9cd0d89d\n"
         "SHA256 (abc.iso) = ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n"
         "SHA512 (abc.iso) = ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f\n"
         "BLAKE2b (abc.iso) = ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d17d87c5392aab792dc252d5de4533cc9518d38aa8dbf1925ab92386edd4009923\n"
         "BLAKE3 (abc.iso) = 6437b3ac38465133ffb63b75273a8db548c558465d79db03fd359c6cd5bd9d85\n"
         "XXH128 (abc.iso) = 06b05ab6733a618578af5f94892f3950\n",
         ""},
        {"two files the same", {"compare", "abc.iso", "./abc.iso"}, {}, 0, "Identical\n", ""},
        {"two files of other sizes", {"compare", "abc.iso", "SHA256SUMS"}, {}, 2, "Different: the sizes differ\n", ""},
        {"json",
         {"verify", "--json", "md5sum"},
         [&] { dir.Write("Tree/md5sum", "d41d8cd98f00b204e9800998ecf8427e  say \"hi\"\t.bin\n"); },
         4,
         "{\"name\":\"say \\\"hi\\\"\\t.bin\",\"status\":\"N/A\",\"expected\":\"d41d8cd98f00b204e9800998ecf8427e\","
         "\"computed\":\"\",\"size\":null,\"reason\":\"missing\",\"path\":\"" + tree + "/say \\\"hi\\\"\\t.bin\","
         "\"list\":\"" + tree + "/md5sum\"}\n"
         "{\"summary\":\"OK:0  BAD:0  N/A:1\",\"ok\":0,\"bad\":0,\"na\":1,\"new\":0,\"moved\":0,\"not_checked\":0,"
         "\"list\":\"" + tree + "/md5sum\"}\n",
         ""},
        {"a one-file list named after its file, its digest alone",
         {"verify", "Disc 1/d.bin.MD5"},
         [&] { dir.Write("Tree/Disc 1/d.bin.MD5", "7121eb4f3528263c0507e7cf219eb8c7\r\n"); },
         0,
         "d.bin: OK\n",
         "OK:1  BAD:0  N/A:0"},
        // Each row by its path from here and each summary by its list; the
        // lists after a broken one are still checked.
        {"several lists, a broken one among them",
         {"verify", "Disc 1/one.md5", "broken.md5", "Disc 1/d.bin.MD5"},
         [&] {
             dir.Write("Tree/Disc 1/one.md5", "7121eb4f3528263c0507e7cf219eb8c7  d.bin\n");
             dir.Write("Tree/broken.md5", "not a list\n");
         },
         1,
         "Disc 1/d.bin: OK\nDisc 1/d.bin: OK\n",
         "Disc 1/one.md5: OK:1  BAD:0  N/A:0\nvelmar-cli: broken.md5: Error Reading MD5 File.. Exiting\n"
         "Disc 1/d.bin.MD5: OK:1  BAD:0  N/A:0\n"},
        {"a list without an entry proves nothing", {"verify", "empty.sfv"}, [&] { dir.Write("Tree/empty.sfv", "; only a comment\n"); },
         1, "", "empty.sfv: no entries to check"},
        // A download folder holds the one image of four its list names.
        {"--ignore-missing: only the image that is there",
         {"verify", "--ignore-missing", "dist/SHA256SUMS"},
         [&] {
             std::filesystem::create_directory(tree + "/dist");
             dir.Write("Tree/dist/netinst-amd64.iso", "");
             std::string list;
             for (const char* arch : {"amd64", "arm64", "i386", "ppc64el"})
                 list += std::string(EmptyFileSha256) + "  netinst-" + arch + ".iso\n";
             dir.Write("Tree/dist/SHA256SUMS", list);
         },
         0, "netinst-amd64.iso: OK\n", "OK:1  BAD:0  N/A:0"},
        {"--ignore-missing: none there", {"verify", "--ignore-missing", "dist/other.sha256"},
         [&] { dir.Write("Tree/dist/other.sha256", std::string(EmptyFileSha256) + "  netinst-s390x.iso\n"); }, 1, "",
         "velmar-cli: dist/other.sha256: no file was verified"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.before) step.before();
        const CliRun run = RunCli(tree, step.arguments);
        EXPECT_EQ(run.status, step.status) << run.err;
        EXPECT_EQ(run.out, step.out);
        EXPECT_NE(run.err.find(step.err), std::string::npos) << run.err;
    }
    // A creation's rows are the files it was given, never rows to print:
    // a thousand of them once made it write past rows it did not hold.
    std::filesystem::create_directory(dir.File("Many"));
    for (int i = 0; i < 1000; ++i) dir.Write("Many/f" + std::to_string(i), std::to_string(i));
    const CliRun many = RunCli(dir.path(), {"create", "--kind", "md5", "Many"});
    EXPECT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(many.out, "");
    const std::string manyList = ReadAll(dir.File("Many/md5sum"));
    EXPECT_EQ(std::count(manyList.begin(), manyList.end(), '\n'), 1000);
    // A comment file's text goes into the comment block.
    dir.Write("notes.txt", "ripped with care\n");
    ASSERT_EQ(RunCli(tree, {"create", "--kind", "sfv", "--comment", "file:" + dir.File("notes.txt"), "-o", "noted.sfv",
                            "b.bin"}).status, 0);
    EXPECT_NE(ReadAll(tree + "/noted.sfv").find("; ripped with care\r\n"), std::string::npos) << ReadAll(tree + "/noted.sfv");
    // Only --rename-bad renames, under the window's rules.
    dir.Write("Tree/md5sum", "d41d8cd98f00b204e9800998ecf8427e  b.bin\n");
    EXPECT_EQ(RunCli(tree, {"verify", "--status", "md5sum"}).status, 2 | 64);
    EXPECT_TRUE(std::filesystem::exists(tree + "/b.bin"));
    EXPECT_EQ(RunCli(tree, {"verify", "--status", "--rename-bad", "md5sum"}).status, 2 | 64);
    EXPECT_TRUE(std::filesystem::exists(tree + "/b.bin.BAD"));
}

// Every kind's list of a tree as the window writes it (Create from Folder,
// go!, the file-info comments) is the one the command line writes, and the
// command line's verifies in the tools that read that kind.
TEST(CliTest, ItsListsAreTheWindowsByteForByte) {
    for (const ListKind* kind : ListKinds()) {
        SCOPED_TRACE(kind->firstName);
        TempDir dir;
        const std::string tree = WriteTree(dir, "Tree", {".hidden", "Disc 1/track.bin", "Disc 10/track.bin", "a b.bin"});
        const std::string list = CreateListOfTree(*kind, tree);
        const std::string windows = ReadAll(list);
        std::filesystem::remove(list);
        const std::string name = KindShortName(*kind);
        const CliRun run = RunCli(dir.path(), {"create", "--kind", name, "Tree"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(WithoutTimes(ReadAll(list)), WithoutTimes(windows));
        EXPECT_EQ(RunCli(tree, {"verify", "--status", BaseNameOf(list)}).status, 0);
    }
}

// The signer's keyring, holding a key made for the test, and a stranger's
// without it, each a GNUPGHOME of its own; their agents end with them.
struct Keyrings {
    explicit Keyrings(const TempDir& dir) : signer(dir.File("signer")), stranger(dir.File("stranger")) {
        if (const char* home = std::getenv("GNUPGHOME")) before = home;
        for (const std::string& home : {signer, stranger}) {
            std::filesystem::create_directory(home);
            std::filesystem::permissions(home, std::filesystem::perms::owner_all);
        }
        Use(signer);
        if (RunIn(dir.path(), "gpg --batch --passphrase '' --quick-gen-key 'Test Signer <signer@example.org>' ed25519 sign never") != 0)
            return;
        FILE* listing = ::popen("gpg --with-colons --list-keys 2>/dev/null | awk -F: '/^fpr/ { print $10; exit }'", "r");
        char line[64] = {};
        if (std::fgets(line, sizeof line, listing)) fingerprint.assign(line, std::strcspn(line, "\n"));
        ::pclose(listing);
    }
    ~Keyrings() {
        for (const std::string& home : {signer, stranger}) {
            Use(home);
            RunIn(home, "gpgconf --kill all");
        }
        if (before.empty()) ::unsetenv("GNUPGHOME");
        else Use(before);
    }
    static void Use(const std::string& home) { ::setenv("GNUPGHOME", home.c_str(), 1); }

    std::string signer, stranger, before, fingerprint;
};

// A list's signature beside it or inside it, checked against the keyring in
// GNUPGHOME before any file is read: its words after the summary, 32 in the
// status when it is not good, and a signature file taken for its list.
TEST(CliTest, SignedListsAreCheckedAgainstTheKeyringFirst) {
    if (!Installed("gpg")) GTEST_SKIP() << "gpg is not installed";
    TempDir dir;
    const Keyrings keys(dir);
    ASSERT_EQ(keys.fingerprint.size(), 40u) << "no key could be made for the test";
    const std::string tree = WriteTree(dir, "Tree", {"a.bin", "b.bin"});
    ASSERT_EQ(RunCli(tree, {"create", "--kind", "sha256", "a.bin", "b.bin"}).status, 0);
    // A clearsigned copy between two lines that would be entries if read,
    // named as a signature file is: it is a list all the same.
    const std::string outside = std::string(EmptyFileSha256) + "  c.bin\n";
    ASSERT_EQ(RunIn(tree, "gpg --batch --detach-sign -o SHA256SUMS.sign SHA256SUMS && { { printf '" + outside +
                              "'; gpg --batch --clearsign -o - SHA256SUMS; printf '" + outside + "'; } > CHECKSUMS.asc; }"),
              0);
    const std::string keyring = ReadAll(keys.signer + "/pubring.kbx");
    const std::string signedBy = "signed by Test Signer <signer@example.org> (" + keys.fingerprint + ")";
    const struct {
        const char* what;
        const std::string& home;
        std::vector<std::string> arguments;
        std::function<void()> before;
        int status;
        std::string out;
        std::string err;
    } steps[] = {
        {"good, the list and its signature as SHA256SUMS* names them", keys.signer, {"verify", "SHA256SUMS", "SHA256SUMS.sign"},
         {}, 0, "a.bin: OK\nb.bin: OK\n", "OK:2  BAD:0  N/A:0  " + signedBy},
        {"the signature alone stands for its list", keys.signer, {"verify", "--quiet", "SHA256SUMS.sign"}, {}, 0, "", signedBy},
        {"clearsigned, the lines around it no entries", keys.signer, {"verify", "CHECKSUMS.asc"}, {}, 0,
         "a.bin: OK\nb.bin: OK\n", signedBy},
        {"a key the keyring lacks", keys.stranger, {"verify", "--quiet", "SHA256SUMS"}, {}, 32, "",
         "OK:2  BAD:0  N/A:0  signed with unknown key " + keys.fingerprint},
        {"a signature file is no list to audit", keys.signer, {"audit", "SHA256SUMS.sign"}, {}, 1, "",
         "SHA256SUMS.sign is a signature file, not a list: open SHA256SUMS"},
        {"BAD once a byte of the list changed: no file is read", keys.signer, {"verify", "SHA256SUMS"},
         [&] {
             std::string list = ReadAll(tree + "/SHA256SUMS");
             const std::size_t digit = list.rfind('\n', list.find("  b.bin")) + 1;
             list[digit] = list[digit] == '0' ? '1' : '0';
             dir.Write("Tree/SHA256SUMS", list);
         },
         1 | 32, "", "velmar-cli: SHA256SUMS: signature BAD: its files were not checked"},
        {"BAD, checked all the same", keys.signer, {"verify", "--despite-bad-signature", "SHA256SUMS"}, {}, 2 | 32 | 64,
         "a.bin: OK\nb.bin: FAILED\n", "OK:1  BAD:1  N/A:0  signature BAD"},
        {"an audit leaves a clearsigned list as it was", keys.signer, {"audit", "--update", "--quiet", "CHECKSUMS.asc"},
         [&] { dir.Write("Tree/new.bin", "new"); }, 8, "SHA256SUMS: NEW\nSHA256SUMS.sign: NEW\nnew.bin: NEW\n",
         "it was left as it was"},
    };
    const std::string clearSigned = ReadAll(tree + "/CHECKSUMS.asc");
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.before) step.before();
        Keyrings::Use(step.home);
        const CliRun run = RunCli(tree, step.arguments);
        EXPECT_EQ(run.status, step.status) << run.err;
        EXPECT_EQ(run.out, step.out);
        EXPECT_NE(run.err.find(step.err), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadAll(tree + "/CHECKSUMS.asc"), clearSigned);
    EXPECT_EQ(ReadAll(keys.signer + "/pubring.kbx"), keyring) << "the keyring is only read";
}

TEST(CliTest, SigintStopsAJobWithinARead) {
    TempDir dir;
    // Sparse: read at the speed of memory, yet long enough to be stopped in.
    for (const char* name : {"big1.bin", "big2.bin"}) std::filesystem::resize_file(dir.Write(name, ""), 4ull << 30);
    dir.Write("small.bin", "small");
    dir.Write("list.md5", "d41d8cd98f00b204e9800998ecf8427e  small.bin\r\n"
                          "00000000000000000000000000000000  big1.bin\r\n"
                          "00000000000000000000000000000000  big2.bin\r\n");
    const CliRun verify = RunCli(dir.path(), {"verify", "list.md5"}, std::chrono::milliseconds(300));
    EXPECT_EQ(verify.status, 2 | 16 | 64) << verify.err;
    EXPECT_EQ(verify.out, "small.bin: FAILED\n") << "the rows done, and no more";
    EXPECT_NE(verify.err.find("OK:0  BAD:1  N/A:0  (stopped)"), std::string::npos) << verify.err;

    dir.Write("SHA256SUMS", "an older list\n");
    const CliRun create = RunCli(dir.path(), {"create", "--kind", "sha256", "--force", "big1.bin", "big2.bin"},
                              std::chrono::milliseconds(300));
    EXPECT_EQ(create.status, 16) << create.err;
    EXPECT_EQ(ReadAll(dir.File("SHA256SUMS")), "an older list\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 5) << "no hidden list left";
}

}  // namespace
}  // namespace velmar::test
