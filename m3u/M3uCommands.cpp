#include "m3u/M3uCommands.h"

#include "jobs/Commands.h"
#include "m3u/M3uCreateJob.h"
#include "m3u/M3uDialogs.h"
#include "m3u/M3uSelectVerify.h"
#include "m3u/M3uVerifyJob.h"
#include "md5list/Md5SelectVerify.h"
#include "platform/WorkerThread.h"

namespace velmar {

void VerifyM3uCommand(MainWindow& window, MainWindowState& state) {
    if (state.Busy) return;
    state.JobMode = ModeNone;
    LaunchJob<TMyThread6>(window, state);
}

void CreateM3uCommand(MainWindow& window, MainWindowState& state) { RunCreateCommand(window, state, CreateM3uKind); }

void CreateM3uGo(MainWindow& window, MainWindowState& state) {
    if (!CreationMayStart(window, state)) return;
    LaunchJob<TMyThread7>(window, state);
}

void SelectVerifyM3uCommand(MainWindow& window, MainWindowState& state) {
    auto playlist = RunSelectVerifyCommand(window, state, ModeSelectVerifyM3u, M3uPlaylistDialog);
    if (playlist) LoadM3uSelectVerify(window, state, *playlist);
}

void SelectVerifyM3uGo(MainWindow& window, MainWindowState& state) {
    if (!SelectVerifyMayStart(state)) return;
    CheckSelectedMd5Rows(window, state);
}

}  // namespace velmar
