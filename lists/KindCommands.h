// What a kind's menu items, go! in its modes, the command line and a drop
// run, on the UI thread; the jobs they launch run on a worker.
#pragma once

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"
#include "lists/ListKind.h"

namespace velmar {

// Create: the files chosen and the window prepared for go!.
void CreateCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);
// go! in the kind's create mode: the 'self' and overwrite checks, then the job.
void CreateGo(MainWindow& window, MainWindowState& state, const ListKind& kind);
// Verify: nothing while Busy; else ModeNone and the verification job.
void VerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);
// Verifies state.CommandLinePath (start-up argument or drop) in a fresh
// result list. Nothing while a job runs.
void CommandLineVerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);
// Select Verify: the list chosen and loaded into the rows.
void SelectVerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);
// go! in the kind's select-verify mode: the selected rows checked.
void SelectVerifyGo(MainWindow& window, MainWindowState& state, const ListKind& kind);

}  // namespace velmar
