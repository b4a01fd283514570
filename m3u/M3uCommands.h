// The M3U menu commands and go! in the M3U modes, as the window calls them
// on the UI thread.
#pragma once

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"

namespace velmar {

// Verify M3U: nothing while Busy; else ModeNone and the verification job.
void VerifyM3uCommand(MainWindow& window, MainWindowState& state);

// Create M3U: the files chosen and the window prepared for go!.
void CreateM3uCommand(MainWindow& window, MainWindowState& state);

// go! in ModeCreateM3u: the 'self' and overwrite checks, then the job.
void CreateM3uGo(MainWindow& window, MainWindowState& state);

// M3U Select Verify: the playlist chosen and loaded into the rows.
void SelectVerifyM3uCommand(MainWindow& window, MainWindowState& state);

// go! in ModeSelectVerifyM3u: the selected rows checked.
void SelectVerifyM3uGo(MainWindow& window, MainWindowState& state);

}  // namespace velmar
