// What a kind's menu items, go! in its modes, the command line and a drop
// run, on the UI thread; the jobs they launch run on a worker.
#pragma once

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"
#include "lists/AuditJob.h"
#include "lists/ListKind.h"
#include "lists/VerifyJob.h"

namespace velmar {

// Create: the files chosen and the window prepared for go! in the kind's
// create mode.
void CreateCommand(MainWindow& window, MainWindowState& state, const ListKind& kind, KindModes modes);
// Create from Folder: the folder chosen, its tree listed by a job, go! in
// the kind's create mode once every row is in.
void CreateFromFolderCommand(MainWindow& window, MainWindowState& state, const ListKind& kind, KindModes modes);
// go!'s checks before a creation of the kind (see CreationMayStart in
// jobs/Commands.h), refusing the names the kind cannot carry.
bool CreationMayStart(MainWindow& window, MainWindowState& state, const ListKind& kind);
// go! in the kind's create mode: those checks, then the job.
void CreateGo(MainWindow& window, MainWindowState& state, const ListKind& kind);
// Verify: nothing while Busy; else ModeNone and the verification job.
void VerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);
// Verifies state.CommandLinePath (start-up argument or drop) in a fresh
// result list, read as the kind `kindOf` tells in the job. Nothing while a
// job runs.
void CommandLineVerifyCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf);
// Select Verify: the list chosen and loaded into the rows, go! in the
// kind's select-verify mode.
void SelectVerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind, KindModes modes);
// Audit and Add New Files: nothing while Busy; else ModeNone and the job,
// whose dialog offers `filter` and whose list is read as `kindOf` tells.
void AuditCommand(MainWindow& window, MainWindowState& state, AuditMode mode, KindOfList kindOf,
                  const std::string& filter);
// go! in the kind's select-verify mode: the selected rows checked.
void SelectVerifyGo(MainWindow& window, MainWindowState& state, const ListKind& kind);

}  // namespace velmar
