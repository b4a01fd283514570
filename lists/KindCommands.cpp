#include "lists/KindCommands.h"

#include "jobs/Commands.h"
#include "lists/CreationJob.h"
#include "lists/ListableName.h"
#include "lists/SelectVerify.h"
#include "lists/VerifyJob.h"

namespace velmar {

void CreateCommand(MainWindow& window, MainWindowState& state, const ListKind& kind, KindModes modes) {
    RunCreateCommand(window, state, kind.create, modes.create);
}

void CreateFromFolderCommand(MainWindow& window, MainWindowState& state, const ListKind& kind, KindModes modes) {
    RunCreateFromFolderCommand(window, state, kind.create, modes.create);
}

bool CreationMayStart(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    return CreationMayStart(window, state, [&kind](std::string_view row) { return UnlistableRowMessage(kind, row); });
}

void CreateGo(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    if (CreationMayStart(window, state, kind)) LaunchJob<CreateListJob>(window, state, kind);
}

void VerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    if (state.Busy) return;
    state.JobMode = ModeNone;
    LaunchJob<VerifyListJob>(window, state, kind);
}

void CommandLineVerifyCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf) {
    if (state.Busy) return;
    // The rows will belong to this list alone: go! must not take them for
    // the files of a prepared creation or the values of a loaded
    // select-verify list.
    state.JobMode = ModeNone;
    // The job's rows start at index 0.
    window.ClearRows();
    LaunchJob<CommandLineVerifyJob>(window, state, kindOf);
}

void AuditCommand(MainWindow& window, MainWindowState& state, AuditMode mode, KindOfList kindOf,
                  const std::string& filter) {
    if (state.Busy) return;
    state.JobMode = ModeNone;
    LaunchJob<AuditJob>(window, state, mode, kindOf, AuditDialog(mode, filter));
}

void SelectVerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind, KindModes modes) {
    if (auto path = RunSelectVerifyCommand(window, state, modes.selectVerify, kind.verifyDialog))
        LoadSelectVerify(window, state, kind, *path);
}

void SelectVerifyGo(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    if (SelectVerifyMayStart(state)) LaunchJob<SelectVerifyJob>(window, state, kind);
}

}  // namespace velmar
