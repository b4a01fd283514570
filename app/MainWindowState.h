// What the main window, its commands and its side of a job share. The flags
// are single bytes, read and written whole from both threads without a lock;
// the rest belongs to the UI thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "app/WindowArguments.h"
#include "jobs/JobEvents.h"
#include "lists/ListKind.h"
#include "platform/JobThread.h"

namespace velmar {

// What go! does: create a list of a kind, check a kind's selected rows, or nothing.
enum class GoAction { None, Create, SelectVerify };
struct GoMode {
    GoAction action = GoAction::None;
    const ListKind* kind = nullptr;
    bool operator==(const GoMode&) const = default;
};

// The stop and quit flags are the running job's (JobControl): File > Stop and
// a close of the window set them.
struct MainWindowState : JobControl {
    std::atomic<std::uint8_t> Busy{0};  // 1 while a job runs
    GoMode JobMode;

    // Filled by the select-verify loads, read by go!: the expected digest
    // of each row as its list gives it.
    std::vector<std::string> ExpectedDigests;
    std::string ListDirectory;
    std::string ListPath;  // the select-verify list, which no fallback may take for one of its files
    ListSignature LoadedSignature;  // its signature, as the load found it
    // The folder of the files a Create command chose: the new list goes there.
    std::string CreationDirectory;
    // The first folder of a Create from Folder's tree that could not be
    // read, "" when every one was: go! refuses the rows, which would make
    // an incomplete list. Written when the walk ends, before Busy clears.
    std::string UnreadableFolder;
    std::string CommandLinePath;
    // What the command line asked for beyond a first list (--verify,
    // --create, --check), done at the first activation.
    WindowStart Start;
    // "Create which list?" offers this kind first (its short name), the
    // last one chosen; kept in the settings between runs.
    std::string LastCreateKind;
    // The running job's thread; declared last, so that the state waits for
    // the job before letting go of anything the job reads.
    JobThread Thread;
};

}  // namespace velmar
