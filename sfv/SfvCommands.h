// What the window's SFV menu items, the command line, a drop and go! call.
// All run on the UI thread; the jobs they launch run on a worker.
#pragma once

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"

namespace velmar {

// Verifies state.CommandLinePath (start-up argument or drop) in a fresh
// result list. Nothing while a job runs.
void StartCommandLineSfvVerify(MainWindow& window, MainWindowState& state);
// SFV > Verify SFV.
void VerifySfvCommand(MainWindow& window, MainWindowState& state);
// SFV > Create SFV.
void CreateSfvCommand(MainWindow& window, MainWindowState& state);
// go! in ModeCreateSfv.
void CreateSfvGo(MainWindow& window, MainWindowState& state);
// SFV > Select Verify.
void SelectVerifySfvCommand(MainWindow& window, MainWindowState& state);
// go! in ModeSelectVerifySfv.
void SelectVerifySfvGo(MainWindow& window, MainWindowState& state);

}  // namespace velmar
