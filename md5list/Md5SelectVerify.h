// Select verify over MD5 digests, on the UI thread: the load of an MD5 list
// into the rows and ExpectedMd5s, and the go! check of the selected rows,
// which any list kind that fills ExpectedMd5s shares.
#pragma once

#include <string>

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"

namespace velmar {

// The rows and ExpectedMd5s from the list at `path`; the table grows with
// the list. Unusable lists end the program like the verification job's.
void LoadMd5SelectVerify(MainWindow& window, MainWindowState& state, const std::string& path);

// Each selected row's file, ListDirectory + the row's text, checked against
// its slot of ExpectedMd5s.
void CheckSelectedMd5Rows(MainWindow& window, MainWindowState& state);

}  // namespace velmar
