#include "cli/CliRun.h"

#include <algorithm>
#include <csignal>
#include <cstdio>

#include "cli/ConsoleSink.h"
#include "jobs/JobFrame.h"
#include "jobs/TreeListing.h"
#include "lists/AuditJob.h"
#include "lists/CreationJob.h"
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
    if (!result.signature.words.empty()) Say(list + ": " + result.signature.words);
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

int Verify(const CliOptions& options, ConsoleSink& sink, JobControl& control) {
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

}  // namespace

int RunCli(const CliOptions& options) {
    JobControl control;
    ConsoleSink sink(options);
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
        case CliCommand::Help:
        case CliCommand::Version: break;
    }
    runningControl = nullptr;
    return status;
}

}  // namespace velmar
