// What a kind's menu items, go! in its modes, a start-up list and a drop run
// in the window, on the UI thread; the jobs they start run on a worker.
#pragma once

#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/MainWindowState.h"
#include "lists/AuditJob.h"
#include "kinds/KindTexts.h"
#include "lists/ListKind.h"

namespace velmar {

// Create: the files chosen and the window prepared for go! in the kind's
// create mode.
void CreateCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);
// Create from Folder: the folder chosen, its tree listed by a job, go! in
// the kind's create mode once every row is in.
void CreateFromFolderCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);
// go! in the kind's create mode: its checks (see CreationMayStart in
// app/Commands.h), the comment file chosen where the mode asks for one,
// then the creation job.
void CreateGo(MainWindow& window, MainWindowState& state, const ListKind& kind);
// Verify: the list chosen, then the verification job.
void VerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);
// Verifies state.CommandLinePath (start-up argument or drop) in a fresh
// result list, read as the kind `kindOf` tells in the job. Nothing while a
// job runs.
void CommandLineVerifyCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf);
// The lists given by `velmar --verify`, each verified in turn as
// CommandLineVerifyCommand verifies one, their rows one after the other: a
// list that cannot be used is told and the next one verified, and the
// status line ends with the lists' summary together ("LISTS:3  OK:40
// BAD:1  N/A:0"). One list is verified as CommandLineVerifyCommand does.
void CommandLineVerifyListsCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf,
                                   const std::vector<std::string>& paths);
// Select Verify: the list chosen and loaded into the rows, go! in the
// kind's select-verify mode. A list that cannot be used ends the program,
// as the kind's verification does.
void SelectVerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);
// Audit and Add New Files: the list chosen in a dialog offering `filter`,
// read as `kindOf` tells, then the job.
void AuditCommand(MainWindow& window, MainWindowState& state, AuditMode mode, KindOfList kindOf,
                  const std::string& filter);
// The dialogs of the two commands, `filter` offering every kind's lists.
OpenFileRequest AuditDialog(AuditMode mode, const std::string& filter);
// go! in the kind's select-verify mode: the selected rows checked.
void SelectVerifyGo(MainWindow& window, MainWindowState& state, const ListKind& kind);

}  // namespace velmar
