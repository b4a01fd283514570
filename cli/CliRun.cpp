#include "cli/CliRun.h"

#include <algorithm>
#include <csignal>
#include <cstdio>

#include "cli/ConsoleSink.h"
#include "jobs/JobFrame.h"
#include "jobs/TreeListing.h"
#include "lists/AuditJob.h"
#include "lists/CreationJob.h"
#include "lists/FileCheck.h"
#include "lists/LibraryJob.h"
#include "lists/ListSignature.h"
#include "lists/VerifyJob.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "kinds/ListKinds.h"

namespace velmar {
namespace {

// What the signal handlers reach: the run's jobs, for the process's life.
JobControl* runningControl = nullptr;
std::atomic<int> interrupts{0};  // lock-free, so a handler may count

// SIGINT or SIGTERM stops the job as Esc does, within one read; a second
// ends the run as a quit does, within one read too (the list being written
// is let go); a third ends it at once.
void OnInterrupt(int) {
    const int seen = ++interrupts;
    if (seen >= 3) ::_exit(16);
    if (!runningControl) return;
    if (seen == 1) runningControl->StopRequested = 1;
    else runningControl->AskToQuit();
}

int Say(const std::string& text) {
    std::fprintf(stderr, "velmar-cli: %s\n", text.c_str());
    return 1;
}

// The exit status bits of a job's end.
int StatusOf(const JobResult& result) {
    int bits = 0;
    const SignatureVerdict signature = result.signature.verdict;
    if (signature != SignatureVerdict::None && signature != SignatureVerdict::Good) bits |= 32;
    if (result.tallies.BadCount) bits |= 2;
    // Damage in place, told apart from edits for a nightly check.
    if (result.tallies.CorruptCount) bits |= 64;
    if (result.tallies.NaCount) bits |= 4;
    if (result.tallies.NewCount || result.tallies.MovedCount) bits |= 8;
    switch (result.end) {
        case JobEnd::Completed: break;
        case JobEnd::Stopped:
        case JobEnd::Quit: bits |= 16; break;
        case JobEnd::Failed: bits |= result.failure == JobFailure::FileUnreadable ? 4 : 1; break;
    }
    return bits;
}

// What a job that failed says, naming its list.
void SayFailure(const std::string& list, const JobResult& result) {
    if (result.end != JobEnd::Failed) return;
    Say(list + ": " + result.message);
}

// The rows printed, then what a failure says, naming the list. A list that
// yields no entry at all (empty, cut short, no list, or with
// `ignoreMissing` none of its files there) proves nothing.
int Reported(ConsoleSink& sink, const JobResult& result, const std::string& list, const std::string& listName,
             bool ignoreMissing) {
    const bool nothingChecked = result.end == JobEnd::Completed && result.rows == 0;
    sink.EndJob(listName, !nothingChecked);
    SayFailure(list, result);
    if (!nothingChecked) return StatusOf(result);
    // The summary that would have told the signature is not shown.
    if (result.signature.verdict != SignatureVerdict::None) Say(list + ": " + result.signature.words);
    return Say(list + (ignoreMissing ? ": no file was verified" : ": no entries to check")) | StatusOf(result);
}

// The lists `paths` name: a signature file stands for the list it signs,
// which is checked with it, and only once.
std::vector<std::string> ListsNamed(const std::vector<std::string>& paths) {
    std::vector<std::string> lists;
    for (const std::string& path : paths) {
        const bool signature = IsSignatureFile(path);
        std::string list = signature ? ListSignedBy(path) : path;
        if (signature && (std::find(paths.begin(), paths.end(), list) != paths.end() ||
                          std::find(lists.begin(), lists.end(), list) != lists.end()))
            continue;
        lists.push_back(std::move(list));
    }
    return lists;
}

JobResult RunJob(ConsoleSink& sink, JobControl& control, const std::function<void(JobFrame&)>& body) {
    JobFrame frame(sink, control);
    return frame.Run([&] { body(frame); });
}

// Every list below each folder, each folder one run whose rows are named by
// their path from it.
int VerifyFolders(const CliOptions& options, ConsoleSink& sink, JobControl& control) {
    int status = 0;
    const bool streaming = !(options.renameBad && options.rows == RowOutput::Json);
    for (const std::string& folder : options.paths) {
        if (!IsFolder(folder)) {
            status |= Say(folder + ": no folder");
            continue;
        }
        std::string shown = folder;
        if (options.paths.size() > 1 && !shown.ends_with('/')) shown += '/';
        sink.BeginJob(streaming, options.paths.size() > 1 ? shown : std::string());
        const JobResult result = RunJob(sink, control, [&](JobFrame& frame) {
            VerifyLibrary(frame, AbsolutePath(folder), {.isListName = IsListName, .kindOf = ListKindOf});
        });
        status |= Reported(sink, result, folder, options.paths.size() > 1 ? folder : std::string(), false);
        if (status & 16) break;
    }
    return status;
}

int Verify(const CliOptions& options, ConsoleSink& sink, JobControl& control) {
    if (options.recursive) return VerifyFolders(options, sink, control);
    int status = 0;
    const std::vector<std::string> lists = ListsNamed(options.paths);
    // With several lists, each row is named by its path from here, as it
    // would be typed, and each summary by its list.
    const bool several = lists.size() > 1;
    // Renamed files are told in the JSON rows: they wait for the question.
    const bool streaming = !(options.renameBad && options.rows == RowOutput::Json);
    const MissingFiles missing = options.ignoreMissing ? MissingFiles::Ignored : MissingFiles::Shown;
    for (const std::string& list : lists) {
        const ListKind& kind = options.kind ? *options.kind : ListKindOf(list);
        const std::size_t slash = list.find_last_of('/');
        sink.BeginJob(streaming, several && slash != std::string::npos ? list.substr(0, slash + 1) : std::string());
        const JobResult result =
            RunJob(sink, control, [&](JobFrame& frame) { VerifyList(frame, kind, list, ReadPurpose::MenuVerify, missing); });
        status |= Reported(sink, result, list, several ? list : std::string(), options.ignoreMissing);
        // A stop is the user's for the whole run, not for one list.
        if (status & 16) break;
    }
    return status;
}

int Audit(const CliOptions& options, ConsoleSink& sink, JobControl& control) {
    const std::string& list = options.paths.front();
    const bool audit = options.command == CliCommand::Audit;
    const ListKind& kind = options.kind ? *options.kind : ListKindOf(list);
    sink.BeginJob(false);
    const JobResult result = RunJob(sink, control, [&](JobFrame& frame) {
        AuditList(frame, audit ? AuditMode::Audit : AuditMode::AddNewFiles, kind, list);
    });
    sink.EndJob();
    SayFailure(list, result);
    // New files are what an addition is for, not a finding.
    return StatusOf(result) & (audit ? ~0 : ~8);
}

int Create(const CliOptions& options, ConsoleSink& sink, JobControl& control) {
    const ListKind& kind = *options.kind;
    std::vector<std::string> paths;
    for (const std::string& path : options.paths) paths.push_back(AbsolutePath(path));
    CreationInputs inputs{.rows = {},
                          .directory = {},
                          .listName = {},
                          .commentMode = options.commentMode,
                          .oneLineComment = options.commentText,
                          .commentFile = options.commentFile,
                          .winsfv = options.winsfv};
    if (paths.size() == 1 && IsFolder(paths.front())) {
        // "/music/" is the folder "/music", "/" the root, which is "" here.
        std::string folder = paths.front();
        while (!folder.empty() && folder.back() == '/') folder.pop_back();
        inputs.directory = folder;
        inputs.listName = ProposedListName(folder, kind);
        sink.BeginJob(false);
        const JobResult walk = RunJob(sink, control, [&](JobFrame& frame) { ListTree(frame, folder, inputs.listName); });
        if (walk.end != JobEnd::Completed) return StatusOf(walk);
        inputs.rows = sink.RowNames();
        if (inputs.rows.empty() || !walk.unreadableFolder.empty()) {
            sink.Say(inputs.rows.empty() ? NothingToListMessage(folder, walk.unreadableFolder)
                                         : CannotReadFolderMessage(walk.unreadableFolder));
            return 1;
        }
    } else {
        for (const std::string& path : paths)
            if (!RegularFileSize(path) || IsFolder(path)) return Say("no file '" + path + "'");
        FilesBelowFolder chosen = CreationRowsOf(paths);
        inputs.directory = std::move(chosen.folder);
        inputs.rows = std::move(chosen.names);
        inputs.listName = ProposedListName(inputs.directory, kind);
    }
    if (!options.output.empty()) {
        // The names are listed below the files' folder: the list goes there.
        const std::string list = AbsolutePath(options.output);
        if (ListDirectoryOf(list) != inputs.directory)
            return Say("the list goes in the folder that holds the files: " + inputs.directory);
        inputs.listName = BaseNameOf(list);
    }
    const std::string listPath = CreationListPath(inputs);
    if (PathExists(listPath) && !options.force) return Say("'" + listPath + "' is there already; --force replaces it");
    if (const std::string refusal = CreationRefusal(kind, inputs); !refusal.empty()) {
        sink.Say(refusal);
        return 1;
    }
    sink.BeginJob(false);
    const JobResult result = RunJob(sink, control, [&](JobFrame& frame) { RunCreation(frame, kind, inputs); });
    sink.EndJob();
    if (result.end == JobEnd::Failed) {
        sink.Say(result.message);
        return 1;
    }
    if (result.end != JobEnd::Completed) return 16;
    if (options.rows != RowOutput::Nothing) sink.Say(TextsOf(kind).creationComplete);
    return 0;
}

// What a BSD-style line names each algorithm, as the sum tools' --tag does.
const char* TagOf(DigestAlgorithm algorithm) {
    switch (algorithm) {
        case DigestAlgorithm::Crc32: return "CRC32";
        case DigestAlgorithm::Md5: return "MD5";
        case DigestAlgorithm::Sha1: return "SHA1";
        case DigestAlgorithm::Sha256: return "SHA256";
        case DigestAlgorithm::Sha512: return "SHA512";
        case DigestAlgorithm::Blake2b: return "BLAKE2b";
        case DigestAlgorithm::Blake3: return "BLAKE3";
        default: return DigestName(algorithm);
    }
}

// The status of a one-file check: 0 when it matched, 2 when not, 4 when a
// file could not be read, 16 when stopped.
int CheckStatus(const JobResult& result, StatusIcon icon) {
    if (result.end != JobEnd::Completed || icon == IconPending) return StatusOf(result) | 16;
    return icon == IconOk ? 0 : icon == IconBad ? 2 : 4;
}

int Check(const CliOptions& options, ConsoleSink& sink, JobControl& control) {
    const std::string& path = options.paths.front();
    std::optional<PastedDigest> digest;
    if (options.paths.size() > 1) {
        digest = ParsePastedDigest(options.paths[1]);
        if (!digest) return Say("'" + options.paths[1] + "' is no digest Velmar knows");
    }
    FileCheck check;
    sink.BeginJob(false);
    const JobResult result = RunJob(sink, control, [&](JobFrame& frame) {
        if (!options.checkList.empty())
            check = CheckFileAgainstList(frame, path, ListKindOf(options.checkList), options.checkList);
        else check = CheckFile(frame, path, digest ? &*digest : nullptr);
    });
    sink.EndJob({}, check.icon == IconNA);
    // A list's signature is told as verify tells it, and counts as there.
    if (result.signature.verdict != SignatureVerdict::None) Say(options.checkList + ": " + result.signature.words);
    const int signature = StatusOf(result) & 32;
    if (result.end == JobEnd::Failed) return Say(options.checkList + ": " + result.message) | signature;
    const int status = CheckStatus(result, check.icon) | signature;
    if (status & 16 || check.icon == IconNA) return status;
    if (digest || !options.checkList.empty()) {
        if (options.rows != RowOutput::Nothing)
            std::printf("%s: %s\n", path.c_str(),
                        check.matched ? ("OK (" + std::string(DigestName(*check.matched)) + ")").c_str() : "FAILED");
        return status;
    }
    for (std::size_t i = 0; i < check.algorithms.size(); ++i) {
        const std::string text = check.digests[i].Text();
        if (options.tag) std::printf("%s (%s) = %s\n", TagOf(check.algorithms[i]), path.c_str(), text.c_str());
        else std::printf("%s  %s\n", text.c_str(), path.c_str());
    }
    return status;
}

int Compare(const CliOptions& options, ConsoleSink& sink, JobControl& control) {
    FileComparison comparison;
    sink.BeginJob(false);
    const JobResult result = RunJob(sink, control, [&](JobFrame& frame) {
        comparison = CompareFiles(frame, options.paths[0], options.paths[1]);
    });
    // Only a file that could not be read is told on standard error.
    sink.EndJob({}, comparison.answer == FileComparison::Answer::Unreadable);
    switch (comparison.answer) {
        case FileComparison::Answer::Identical:
            if (options.rows != RowOutput::Nothing) std::puts("Identical");
            return 0;
        case FileComparison::Answer::Different:
            if (options.rows != RowOutput::Nothing) {
                if (comparison.firstDifference)
                    std::printf("Different at byte %llu\n", static_cast<unsigned long long>(*comparison.firstDifference));
                else std::puts("Different: the sizes differ");
            }
            return 2;
        case FileComparison::Answer::Unreadable: return 4;
        case FileComparison::Answer::Stopped: break;
    }
    return StatusOf(result) | 16;
}

}  // namespace

int RunCli(const CliOptions& options) {
    JobControl control;
    // A check or a comparison prints its own answer, not the rows'.
    CliOptions sinkOptions = options;
    if (options.command == CliCommand::Check || options.command == CliCommand::Compare)
        sinkOptions.rows = RowOutput::Nothing;
    ConsoleSink sink(sinkOptions);
    runningControl = &control;
    struct sigaction interrupt {};
    interrupt.sa_handler = &OnInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
    sigaction(SIGTERM, &interrupt, nullptr);

    int status = 1;
    switch (options.command) {
        case CliCommand::Verify: status = Verify(options, sink, control); break;
        case CliCommand::Audit:
        case CliCommand::Add: status = Audit(options, sink, control); break;
        case CliCommand::Create: status = Create(options, sink, control); break;
        case CliCommand::Check: status = Check(options, sink, control); break;
        case CliCommand::Compare: status = Compare(options, sink, control); break;
        case CliCommand::Help:
        case CliCommand::Version: break;
    }
    runningControl = nullptr;
    return status;
}

}  // namespace velmar
