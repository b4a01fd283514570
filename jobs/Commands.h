// The menu commands and go! steps that are the same for every list kind:
// preparing a creation, preparing a select-verify, and the checks go! makes
// before it starts a creation job. They run on the UI thread and reach the
// window only through MainWindow, so the tests drive them with the fake.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"
#include "platform/WorkerThread.h"

namespace velmar {

// Starts a job on its worker thread. The job sets Busy again itself; setting
// it here as well closes the gap between the launch and the job's first
// step, in which a second command could otherwise start on the same rows.
template <class Job, class... Args>
void LaunchJob(MainWindow& window, MainWindowState& state, const Args&... args) {
    state.Busy = 1;
    state.StopRequested = 0;
    WorkerThread::Launch<Job>(window, state, args...);
}

// What tells the Create commands of the list kinds apart.
struct CreateCommandKind {
    const char* label;          // Label1 once files are chosen: "SFV Filename"
    const char* firstName;      // Edit1's first text: "default.sfv"
    const char* extension;      // ".sfv" to name the list after the folder; nullptr keeps firstName
    bool checkBox1Enabled;
    enum class ComboBox { SelectDefaultAndEnable, Disable, EnableKeepSelection } comboBox1;
    OpenFileRequest dialog;
    const char* folderTitle;    // Create from Folder's dialog: "Create SFV: Select Folder to Add"
};

// A Create command: the files chosen, each listed once by its path below the
// folder that holds them all (where the list goes), the rows sorted by that
// name without regard to case, the list name proposed, go! enabled. Nothing
// while Busy. `mode` is go!'s from then on.
void RunCreateCommand(MainWindow& window, MainWindowState& state, const CreateCommandKind& kind, JobModeValue mode);

// Create from Folder: a folder chosen, the window prepared as for a Create
// command and every file of the tree below the folder listed by a job
// (jobs/TreeListingJob.h), go! enabled once the walk is over. Nothing
// while Busy. `mode` is go!'s from then on.
void RunCreateFromFolderCommand(MainWindow& window, MainWindowState& state, const CreateCommandKind& kind,
                                JobModeValue mode);

// The name a Create command proposes for files chosen in `directory`: its
// last component + extension, or `firstName` for the root.
std::string ProposedListName(const std::string& directory, const char* firstName, const char* extension);

// The start of a Select Verify command: mode set, window prepared, list
// chosen, ListDirectory set. Returns the list's path for the kind's loader,
// or nothing when Busy or cancelled.
std::optional<std::string> RunSelectVerifyCommand(MainWindow& window, MainWindowState& state, JobModeValue mode,
                                                  const OpenFileRequest& dialog);

// go! in a Create mode, before the job starts and before any file is read:
// a folder of the tree that could not be read, the 'self' check, the rows
// the list cannot carry (`refusal` gives the message for such a row, empty
// for any other), the overwrite question and Busy. True when the creation
// job may start; a refusal leaves the window as it was, for the user to
// choose again.
bool CreationMayStart(MainWindow& window, MainWindowState& state,
                      const std::function<std::string(std::string_view row)>& refusal);

// The path a creation job writes: the chosen files' folder and Edit1's text.
std::string CreationListPath(const MainWindowState& state, const std::string& edit1);

// go! in a select-verify mode: nothing while another job runs (one job at a
// time), else the pass over the selected rows.
bool SelectVerifyMayStart(const MainWindowState& state);

}  // namespace velmar
