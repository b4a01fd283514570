// SFV select-verify, on the UI thread: the load that fills the rows and
// ExpectedCrcs, and the check go! makes of the selected rows.
#pragma once

#include <string>

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"

namespace velmar {

// One pending row and one expected CRC per entry, from index 0. A checksum
// field that is not 8 characters long ends the program right after its row
// is shown.
void LoadSelectVerifySfvList(MainWindow& window, MainWindowState& state, const std::string& listPath);

// Each selected row's file against ExpectedCrcs at the row's index; the
// files are read again on every press.
void CheckSelectedSfvRows(MainWindow& window, MainWindowState& state);

}  // namespace velmar
