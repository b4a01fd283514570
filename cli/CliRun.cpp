#include "cli/CliRun.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

#include <unistd.h>

#include "cli/ConsoleWindow.h"
#include "jobs/JobFrame.h"
#include "lists/KindCommands.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/WorkerThread.h"
#include "registry/ListKinds.h"

namespace velmar {
namespace {

// What the signal handlers and the end of the program reach: one run at a
// time, for the process's life.
MainWindowState* runningState = nullptr;
ConsoleWindow* runningWindow = nullptr;
int statusSoFar = 0;
std::atomic<int> interrupts{0};  // lock-free, so a handler may count

// SIGINT or SIGTERM stops the job as Esc does, within one read; a second
// ends the program as a quit does, within one read too (the list being
// written is let go); a third ends it at once.
void OnInterrupt(int) {
    const int seen = ++interrupts;
    if (seen >= 3) ::_exit(16);
    if (!runningState) return;
    if (seen == 1) runningState->StopRequested = 1;
    else runningState->AskToQuit();
}

// A job ends the program on a fatal error (its message shown already) and
// on a quit: the rows done are printed, and the status says why.
void OnProgramEnd() {
    int status = 16;
    if (runningWindow) {
        runningWindow->EndJob();
        const std::string message = runningWindow->LastMessage();
        if (!runningState || !runningState->QuitRequested)
            status = message == FatalMessage(FatalError::ErrorReadingFile) ? 4 | runningWindow->StatusBits() : 1;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(statusSoFar | status);
}

// Waits for the job a command launched, and for every thread it started.
void WaitForJob(const MainWindowState& state) {
    while (state.Busy || WorkerThread::Running() > 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

// --kind for an audit, whose command takes a function that tells a kind.
const ListKind* forcedKind = nullptr;
const ListKind& ForcedKind(const std::string&) { return *forcedKind; }

// A list that opens; one that does not would end the run at its job.
bool Readable(const std::string& list) {
    InputFile file;
    return file.Open(list);
}

int Say(const std::string& text) {
    std::fprintf(stderr, "velmar-cli: %s\n", text.c_str());
    return 1;
}

// A job run to its end: its rows printed, its status bits.
int Finished(ConsoleWindow& window, const MainWindowState& state) {
    WaitForJob(state);
    window.EndJob();
    return window.StatusBits();
}

int Verify(const CliOptions& options, ConsoleWindow& window, MainWindowState& state) {
    int status = 0;
    for (const std::string& list : options.paths) {
        if (!Readable(list)) {
            status |= Say("cannot read the list '" + list + "'");
            continue;
        }
        window.BeginJob(true);
        window.AnswerDialog({list});
        VerifyCommand(window, state, options.kind ? *options.kind : ListKindOf(list));
        statusSoFar = status |= Finished(window, state);
        // A stop is the user's for the whole run, not for one list.
        if (status & 16) break;
    }
    return status;
}

int Audit(const CliOptions& options, ConsoleWindow& window, MainWindowState& state) {
    const std::string& list = options.paths.front();
    if (!Readable(list)) return Say("cannot read the list '" + list + "'");
    forcedKind = options.kind;
    window.BeginJob(false);
    window.AnswerDialog({list});
    const bool audit = options.command == CliCommand::Audit;
    AuditCommand(window, state, audit ? AuditMode::Audit : AuditMode::AddNewFiles,
                 options.kind ? &ForcedKind : &ListKindOf, AllListsFilter());
    // New files are what an addition is for, not a finding.
    return Finished(window, state) & (audit ? ~0 : ~8);
}

int Create(const CliOptions& options, ConsoleWindow& window, MainWindowState& state) {
    const ListKind& kind = *options.kind;
    const KindModes modes = ModesOf(kind);
    std::vector<std::string> paths;
    for (const std::string& path : options.paths) paths.push_back(AbsolutePath(path));
    const bool folder = paths.size() == 1 && IsFolder(paths.front());
    window.BeginJob(false);
    window.AnswerDialog(paths);
    if (folder) {
        CreateFromFolderCommand(window, state, kind, modes);
        WaitForJob(state);
    } else {
        for (const std::string& path : paths)
            if (!RegularFileSize(path) || IsFolder(path)) return Say("no file '" + path + "'");
        CreateCommand(window, state, kind, modes);
    }
    if (window.RowCount() == 0 && state.UnreadableFolder.empty()) return Say("nothing to list");
    if (!options.output.empty()) {
        // The names are listed below the files' folder: the list goes there.
        const std::string list = AbsolutePath(options.output);
        if (ListDirectoryOf(list) != state.CreationDirectory)
            return Say("the list goes in the folder that holds the files: " + state.CreationDirectory);
        window.SetText(Control::Edit1, BaseNameOf(list));
    }
    const std::string listPath = CreationListPath(state, window.Text(Control::Edit1));
    if (PathExists(listPath) && !options.force) return Say("'" + listPath + "' is there already; --force replaces it");
    if (!CreationMayStart(window, state, kind)) return 1;
    // go! itself: its checks again (they pass now), then the job.
    CreateGo(window, state, kind);
    WaitForJob(state);
    window.EndJob();
    const std::string message = window.LastMessage();
    if (message != kind.creationComplete) return message.empty() || state.StopRequested ? 16 : 1;
    return 0;
}

}  // namespace

int RunCli(const CliOptions& options) {
    MainWindowState state;
    ConsoleWindow window(options);
    runningState = &state;
    runningWindow = &window;
    SetEndProgramHandler(&OnProgramEnd);
    struct sigaction interrupt {};
    interrupt.sa_handler = &OnInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
    sigaction(SIGTERM, &interrupt, nullptr);

    switch (options.command) {
        case CliCommand::Verify: return Verify(options, window, state);
        case CliCommand::Audit:
        case CliCommand::Add: return Audit(options, window, state);
        case CliCommand::Create: return Create(options, window, state);
        case CliCommand::Help:
        case CliCommand::Version: break;
    }
    return 1;
}

}  // namespace velmar
