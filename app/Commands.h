// The window's menu commands and go! steps that are the same for every list
// kind: preparing a creation, preparing a select-verify, and the checks go!
// makes before it starts a creation job. They run on the UI thread and reach
// the window only through MainWindow, so the tests drive them with the fake.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainWindow.h"
#include "app/MainWindowState.h"
#include "jobs/JobEvents.h"
#include "lists/CreationJob.h"

namespace velmar {

// A Create command: the files chosen, each listed once by its path below the
// folder that holds them all (where the list goes), the rows sorted by that
// name without regard to case, the list name proposed, go! enabled. Nothing
// while Busy. `mode` is go!'s from then on.
void RunCreateCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);

// Create from Folder: a folder chosen, the window prepared as for a Create
// command and every file of the tree below the folder listed by a job
// (jobs/TreeListing.h), go! enabled once the walk is over. Nothing while
// Busy. `mode` is go!'s from then on.
void RunCreateFromFolderCommand(MainWindow& window, MainWindowState& state, const ListKind& kind);

// "Create which list?": the kinds offered by name, the last one chosen
// (state.LastCreateKind) first; the kind chosen, remembered as the last, or
// nullptr when cancelled.
const ListKind* AskListKind(MainWindow& window, MainWindowState& state);

// A creation asked for at start-up: of `kind`, or of the kind the user
// picks (AskListKind); then the window prepared with `paths` as a Create
// command's dialog would have chosen them, or as Create from Folder's when
// they are one folder, or, with no paths, the kind's Create dialog. A
// folder among several paths is refused with a message. Nothing while Busy.
void RunGivenCreateCommand(MainWindow& window, MainWindowState& state, const ListKind* kind,
                           const std::vector<std::string>& paths);

// The window once the walk of `folder` has ended: go! and the name open
// for a tree with files (the first folder not read kept for go!'s
// refusal), or the window at rest, told why, for one without.
void EndTreeListingInWindow(MainWindow& window, MainWindowState& state, const std::string& folder,
                            const JobResult& result);

// The window at the end of a creation or a tree walk that ends it: the
// message of one completed (`message`, none when empty), then the controls
// as before any Create command, "Velmar  (stopped)" after a stopped one.
void EndCreationInWindow(MainWindow& window, const JobResult& result, const std::string& message);


// The start of a Select Verify command: mode set, window prepared, list
// chosen, ListDirectory set. Returns the list's path for the kind's loader,
// or nothing when Busy or cancelled.
std::optional<std::string> RunSelectVerifyCommand(MainWindow& window, MainWindowState& state, GoMode mode,
                                                  const OpenFileRequest& dialog);

// The start of a verification or an audit from the menu: the window
// prepared, the list chosen in `dialog`, the window shown busy. Nothing
// when the user cancelled (Busy then clears) or a job runs.
std::optional<std::string> RunMenuVerifyCommand(MainWindow& window, MainWindowState& state,
                                                const OpenFileRequest& dialog);

// The start of the verification of the list in state.CommandLinePath (a
// start-up argument or a drop): a fresh result list, the window shown busy.
// False while a job runs.
bool RunCommandLineVerifyCommand(MainWindow& window, MainWindowState& state);

// go! in a Create mode, before the job starts and before any file is read:
// a folder of the tree that could not be read, the 'self' check, the rows
// the list cannot carry, the overwrite question and Busy. The creation's
// inputs when it may start; a refusal leaves the window as it was, for the
// user to choose again.
std::optional<CreationInputs> CreationMayStart(MainWindow& window, MainWindowState& state, const ListKind& kind);

// go! in a select-verify mode: nothing while another job runs (one job at a
// time), else the pass over the selected rows.
bool SelectVerifyMayStart(const MainWindowState& state);

}  // namespace velmar
