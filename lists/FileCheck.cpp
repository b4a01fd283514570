#include "lists/FileCheck.h"

#include <algorithm>
#include <cstring>
#include <latch>

#include "checksum/Crc32.h"
#include "checksum/DigestText.h"
#include "checksum/FileOpening.h"
#include "checksum/FileReading.h"
#include "lists/ListReading.h"
#include "lists/ListSignature.h"
#include "lists/ListedFileCheck.h"
#include "lists/ListedFileFinder.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"
#include "platform/TaskPool.h"

namespace velmar {
namespace {

constexpr DigestAlgorithm Shown[] = {
    DigestAlgorithm::Crc32,  DigestAlgorithm::Md5,     DigestAlgorithm::Sha1,   DigestAlgorithm::Sha256,
    DigestAlgorithm::Sha512, DigestAlgorithm::Blake2b, DigestAlgorithm::Blake3, DigestAlgorithm::Xxh128,
};

// The help a job's one or two files get: the pool's threads, as many as the
// shell's options and the storage under `path` allow.
struct OneFileHelp {
    explicit OneFileHelp(JobFrame& frame, const std::string& path)
        : options(EngineOptionsFor(ListDirectoryOf(path), frame.Control().engine, 1,
                                   [&path](int) { return path; })),
          helpers(std::max(0, options.blake3Helpers)),
          pool(1 + helpers),
          help{.pool = &pool, .helpers = helpers, .nothingCached = options.nothingCached} {}

    EngineOptions options;
    int helpers;
    TaskPool pool;
    ReadingHelp help;
};

// The file at `path` read once for each of `algorithms`, the bar following.
std::vector<FileDigest> DigestOneFile(JobFrame& frame, const std::string& path,
                                      const std::vector<DigestAlgorithm>& algorithms) {
    const DigestWatch watch = frame.BeginReading(1);
    watch.RowSized();
    std::vector<FileDigest> digests;
    {
        OneFileHelp one(frame, path);
        ReadBuffer buffer;
        digests = algorithms.size() == 1
                      ? std::vector<FileDigest>{DigestFile(algorithms.front(), path, buffer, watch, one.help)}
                      : DigestFileEachWay(algorithms, path, buffer, watch, one.help);
    }
    frame.EndReading();
    frame.QuitCheck();
    frame.StopCheck();
    return digests;
}

bool Matches(const FileDigest& digest, const PastedDigest& pasted) {
    return digest.status == FileDigestStatus::Ok && digest.size == pasted.bytes.size() &&
           std::equal(pasted.bytes.begin(), pasted.bytes.end(), digest.bytes.begin());
}

std::string NamesOf(std::span<const DigestAlgorithm> algorithms) {
    std::string names;
    for (DigestAlgorithm algorithm : algorithms) names += (names.empty() ? "" : ", ") + std::string(DigestName(algorithm));
    return names;
}

// What a check that read the file whole found: every digest computed, or
// which one matched.
FileCheck Judged(const PastedDigest* pasted, FileCheck check) {
    const FileDigest& first = check.digests.front();
    if (first.status == FileDigestStatus::Stopped) return check;
    if (first.status != FileDigestStatus::Ok) {
        check.icon = IconNA;
        return check;
    }
    check.icon = pasted ? IconBad : IconOk;
    if (pasted)
        for (std::size_t i = 0; i < check.digests.size(); ++i)
            if (Matches(check.digests[i], *pasted)) {
                check.icon = IconOk;
                check.matched = check.algorithms[i];
            }
    return check;
}

// The row's reason once the file was read whole.
std::string Reason(const PastedDigest* pasted, const FileCheck& check) {
    if (check.matched) return "matches as " + std::string(DigestName(*check.matched));
    if (pasted) return "matches none of " + NamesOf(check.algorithms);
    std::string digests;
    for (std::size_t i = 0; i < check.digests.size(); ++i)
        digests += (i ? "\n" : "") + std::string(DigestName(check.algorithms[i])) + " " + check.digests[i].Text();
    return digests;
}

}  // namespace

std::span<const DigestAlgorithm> ShownAlgorithms() { return Shown; }

FileCheck CheckFile(JobFrame& frame, const std::string& path, const PastedDigest* pasted) {
    frame.AddPendingRow(BaseNameOf(path));
    FileCheck check;
    // The likeliest first, alone at its full speed: a download that is
    // intact needs no other. Only a file it does not match is read again,
    // for all the rest at once.
    check.algorithms = pasted ? std::vector<DigestAlgorithm>{pasted->algorithms.front()}
                              : std::vector<DigestAlgorithm>(Shown, Shown + std::size(Shown));
    check.digests = DigestOneFile(frame, path, check.algorithms);
    check = Judged(pasted, std::move(check));
    if (check.icon == IconBad && pasted->algorithms.size() > 1) {
        const std::vector<DigestAlgorithm> others(pasted->algorithms.begin() + 1, pasted->algorithms.end());
        const std::vector<FileDigest> more = DigestOneFile(frame, path, others);
        check.algorithms.insert(check.algorithms.end(), others.begin(), others.end());
        check.digests.insert(check.digests.end(), more.begin(), more.end());
        check = Judged(pasted, std::move(check));
    }
    if (check.icon == IconPending) {
        frame.ShowSummary(SummaryText(frame.Counts()));
        return check;
    }
    const std::string expected = pasted ? HexText(pasted->bytes.data(), pasted->bytes.size()) : std::string();
    const FileDigest& shown = check.matched
                                  ? check.digests[static_cast<std::size_t>(
                                        std::find(check.algorithms.begin(), check.algorithms.end(), *check.matched) -
                                        check.algorithms.begin())]
                                  : check.digests.front();
    RowDetails details = CheckedFileDetails(path, expected, shown, check.icon);
    if (check.icon != IconNA) details.reason = Reason(pasted, check);
    if (!pasted && check.icon == IconOk) details.computed.clear();
    frame.RowDone(0, check.icon, details);
    const std::string name = BaseNameOf(path);
    switch (check.icon) {
        case IconOk: frame.ShowSummary(pasted ? "OK: " + details.reason : "Digests of " + name); break;
        case IconBad: frame.ShowSummary("BAD: " + details.reason); break;
        default: frame.ShowSummary("N/A: " + name + " " + details.reason); break;
    }
    return check;
}

FileCheck CheckFileAgainstList(JobFrame& frame, const std::string& path, const ListKind& kind,
                               const std::string& listPath) {
    const std::string file = AbsolutePath(path);
    const std::string name = BaseNameOf(file);
    // The signature first, before the file is read: a BAD one asks.
    const ListText text = CheckedListText(frame, listPath);
    // The list's folder made whole once, so that no entry asks for it.
    ListedFileFinder finder(kind, AbsolutePath(ListDirectoryOf(listPath)), listPath);
    std::string expected, sameName;
    ReadListEntries(frame, kind, text, ReadPurpose::MenuVerify, finder,
                    {.entry =
                         [&](std::string& listed, std::string& digest) {
                             if (!expected.empty()) return;
                             if (finder.ListedPath(listed) == file) expected = digest;
                             else if (sameName.empty() && BaseNameOf(listed) == name) sameName = digest;
                         },
                     .piece = {},
                     .addRows = false});
    if (expected.empty()) expected = sameName;
    frame.ListChecked(listPath);
    auto digest = ParsePastedDigest(expected);
    if (!digest) {
        frame.AddPendingRow(name);
        RowDetails details;
        details.path = file;
        details.reason = "not named in " + BaseNameOf(listPath);
        frame.RowDone(0, IconNA, details);
        frame.ShowSummary("N/A: " + name + " is " + details.reason);
        return {.icon = IconNA};
    }
    digest->algorithms = {kind.algorithm};
    return CheckFile(frame, path, &*digest);
}

namespace {

// Reads of both files side by side: `a` on this thread, `b` on the pool's
// where it has a thread free, block by block.
class PairReader {
public:
    PairReader(InputFile& a, InputFile& b, TaskPool& pool) : a_(a), b_(b), pool_(pool) {}

    // The next block of each, as long as the files allow; false after an error.
    bool Next(std::size_t& gotA, std::size_t& gotB) {
        bool failedA = false, failedB = false;
        std::latch done(1);
        const auto readB = [&] {
            gotB = b_.ReadFull(bufferB_.data(), Block, failedB);
            done.count_down();
        };
        if (!pool_.TryRun(readB)) readB();
        gotA = a_.ReadFull(bufferA_.data(), Block, failedA);
        done.wait();
        return !failedA && !failedB;
    }
    const std::uint8_t* A() { return bufferA_.data(); }
    const std::uint8_t* B() { return bufferB_.data(); }

    static constexpr std::size_t Block = CrcReadChunk;

private:
    InputFile& a_;
    InputFile& b_;
    TaskPool& pool_;
    ReadBuffer bufferA_{Block};
    ReadBuffer bufferB_{Block};
};

RowDetails ComparedDetails(const std::string& path, std::uint64_t size, std::string reason) {
    RowDetails details;
    details.path = AbsolutePath(path);
    details.size = size;
    details.reason = std::move(reason);
    return details;
}

}  // namespace

FileComparison CompareFiles(JobFrame& frame, const std::string& a, const std::string& b) {
    const std::string names[2] = {BaseNameOf(a), BaseNameOf(b)};
    const std::string paths[2] = {a, b};
    frame.AddPendingRow(names[0]);
    frame.AddPendingRow(names[1]);
    FileComparison comparison;
    InputFile files[2];
    const DigestWatch watch = frame.BeginReading(2);
    for (int i = 0; i < 2; ++i) {
        if (auto unread = OpenToDigest(files[i], paths[i], watch)) {
            frame.EndReading();
            const RowDetails details = CheckedFileDetails(paths[i], {}, *unread, IconNA);
            frame.RowDone(i, IconNA, details);
            frame.RowDone(1 - i, IconNA, ComparedDetails(paths[1 - i], 0, "not compared"));
            frame.ShowSummary("N/A: " + names[i] + " " + details.reason);
            comparison.answer = FileComparison::Answer::Unreadable;
            return comparison;
        }
        watch.RowSized();
        watch.Sized(files[i].OpenedSize());
    }
    const std::uint64_t sizes[2] = {files[0].OpenedSize(), files[1].OpenedSize()};
    std::string different;
    std::uint64_t at = 0;
    bool failed = false;
    if (sizes[0] != sizes[1]) {
        different = "in size";
    } else {
        OneFileHelp one(frame, a);
        PairReader reader(files[0], files[1], one.pool);
        for (;;) {
            std::size_t gotA = 0, gotB = 0;
            if (!reader.Next(gotA, gotB)) {
                failed = true;
                break;
            }
            watch.Read(gotA + gotB);
            const std::size_t common = std::min(gotA, gotB);
            if (std::memcmp(reader.A(), reader.B(), common) != 0 || gotA != gotB) {
                const auto mismatch = std::mismatch(reader.A(), reader.A() + common, reader.B());
                comparison.firstDifference = at + static_cast<std::uint64_t>(mismatch.first - reader.A());
                different = "at byte " + std::to_string(*comparison.firstDifference);
                break;
            }
            at += gotA;
            if (gotA < PairReader::Block) break;
            if (watch.Stopped()) break;
        }
    }
    frame.EndReading();
    frame.QuitCheck();
    if (frame.StopCheck()) {
        frame.ShowSummary(SummaryText(frame.Counts()));
        return comparison;
    }
    if (failed) {
        for (int i = 0; i < 2; ++i)
            frame.RowDone(i, IconNA,
                          ComparedDetails(paths[i], sizes[i],
                                          files[i].ReadError() ? "failed: " + SystemErrorText(files[i].ReadError())
                                                               : "not compared"));
        frame.ShowSummary("N/A: a read failed");
        comparison.answer = FileComparison::Answer::Unreadable;
        return comparison;
    }
    const bool identical = different.empty();
    comparison.answer = identical ? FileComparison::Answer::Identical : FileComparison::Answer::Different;
    for (int i = 0; i < 2; ++i)
        frame.RowDone(i, identical ? IconOk : IconBad,
                      ComparedDetails(paths[i], sizes[i],
                                      identical ? "identical to " + names[1 - i]
                                                : "differs from " + names[1 - i] + " " + different));
    if (identical) frame.ShowSummary("Identical");
    else if (comparison.firstDifference) frame.ShowSummary("Different at byte " + std::to_string(*comparison.firstDifference));
    else frame.ShowSummary("Different: " + std::to_string(sizes[0]) + " against " + std::to_string(sizes[1]) + " bytes");
    return comparison;
}

}  // namespace velmar
