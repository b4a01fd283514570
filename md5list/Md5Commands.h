// The MD5 menu commands and go! in the MD5 modes, as the window calls them
// on the UI thread.
#pragma once

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"

namespace velmar {

// Verify MD5: nothing while Busy; else ModeNone and the verification job.
void VerifyMd5Command(MainWindow& window, MainWindowState& state);

// Create MD5: the files chosen and the window prepared for go!.
void CreateMd5Command(MainWindow& window, MainWindowState& state);

// go! in ModeCreateMd5: the 'self' and overwrite checks, then the job.
void CreateMd5Go(MainWindow& window, MainWindowState& state);

// MD5 Select Verify: the list chosen and loaded into the rows.
void SelectVerifyMd5Command(MainWindow& window, MainWindowState& state);

// go! in ModeSelectVerifyMd5: the selected rows checked.
void SelectVerifyMd5Go(MainWindow& window, MainWindowState& state);

}  // namespace velmar
