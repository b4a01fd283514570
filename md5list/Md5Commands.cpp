#include "md5list/Md5Commands.h"

#include "jobs/Commands.h"
#include "md5list/Md5CreateJob.h"
#include "md5list/Md5Dialogs.h"
#include "md5list/Md5SelectVerify.h"
#include "md5list/Md5VerifyJob.h"
#include "platform/WorkerThread.h"

namespace velmar {

void VerifyMd5Command(MainWindow& window, MainWindowState& state) {
    if (state.Busy) return;
    state.JobMode = ModeNone;
    LaunchJob<TMyThread4>(window, state);
}

void CreateMd5Command(MainWindow& window, MainWindowState& state) { RunCreateCommand(window, state, Md5CreateKind); }

void CreateMd5Go(MainWindow& window, MainWindowState& state) {
    if (!CreationMayStart(window, state)) return;
    LaunchJob<TMyThread5>(window, state);
}

void SelectVerifyMd5Command(MainWindow& window, MainWindowState& state) {
    auto list = RunSelectVerifyCommand(window, state, ModeSelectVerifyMd5, Md5ListDialog);
    if (list) LoadMd5SelectVerify(window, state, *list);
}

void SelectVerifyMd5Go(MainWindow& window, MainWindowState& state) {
    if (!SelectVerifyMayStart(state)) return;
    CheckSelectedMd5Rows(window, state);
}

}  // namespace velmar
