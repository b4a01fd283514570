#include "sfv/SfvCommands.h"

#include "jobs/Commands.h"
#include "platform/WorkerThread.h"
#include "sfv/SfvCreateJob.h"
#include "sfv/SfvDialogs.h"
#include "sfv/SfvSelectVerify.h"
#include "sfv/SfvVerifyJob.h"

namespace velmar {

void StartCommandLineSfvVerify(MainWindow& window, MainWindowState& state) {
    if (state.Busy) return;
    // The rows will belong to this list alone: go! must not take them for
    // the files of a prepared creation or the values of a loaded
    // select-verify list.
    state.JobMode = ModeNone;
    // The job's rows start at index 0.
    window.ClearRows();
    LaunchJob<TMyThread>(window, state);
}

void VerifySfvCommand(MainWindow& window, MainWindowState& state) {
    if (state.Busy) return;
    state.JobMode = ModeNone;
    LaunchJob<TMyThread3>(window, state);
}

void CreateSfvCommand(MainWindow& window, MainWindowState& state) { RunCreateCommand(window, state, CreateSfvKind); }

void CreateSfvGo(MainWindow& window, MainWindowState& state) {
    if (CreationMayStart(window, state)) LaunchJob<TMyThread2>(window, state);
}

void SelectVerifySfvCommand(MainWindow& window, MainWindowState& state) {
    if (auto path = RunSelectVerifyCommand(window, state, ModeSelectVerifySfv, VerifySfvDialog))
        LoadSelectVerifySfvList(window, state, *path);
}

void SelectVerifySfvGo(MainWindow& window, MainWindowState& state) {
    if (SelectVerifyMayStart(state)) CheckSelectedSfvRows(window, state);
}

}  // namespace velmar
