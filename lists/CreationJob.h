// Writing a new list of any kind for the files a Create command chose.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"
#include "platform/Paths.h"

namespace velmar {

// Everything a creation needs, decided before it starts.
struct CreationInputs {
    std::vector<std::string> rows = {};  // the names to list, below `directory`, in row order
    std::string directory = {};          // the folder of the files, where the list goes
    std::string listName = {};           // the list's name in that folder
    int commentMode = CommentModeNone;   // a CommentMode; -1 for none
    std::string oneLineComment = {};
    std::string commentFile = {};        // the comment file chosen, "" for none
    bool winsfv = false;            // an SFV list as WinSFV writes it
};

// The files a Create command chose as the rows of a list: each listed once
// by its path below the folder that holds them all (where the list goes),
// sorted by that name without regard to case.
FilesBelowFolder CreationRowsOf(const std::vector<std::string>& chosen);

// The name proposed for a list of files in `directory`: its last component
// + the kind's extension, or the kind's first name where the kind names no
// list after its folder, and for the root.
std::string ProposedListName(const std::string& directory, const ListKind& kind);

// The path a creation writes.
std::string CreationListPath(const CreationInputs& inputs);

// Why a creation of `inputs` may not start, before any file is read: a row
// that is the list itself ("Cannot add 'self' to file.") or that the kind
// cannot carry. Empty when it may.
std::string CreationRefusal(const ListKind& kind, const CreationInputs& inputs);

// Where the job takes its times from. Empty members use the real clock and
// the files' own creation times.
struct ListTimes {
    std::function<std::time_t()> now;
    FileTimeOf fileTime;
};

// The kind's header, its comment block, one entry per row, into the list
// beside the files. Every listed file must be read whole: one that cannot be
// opened or read fails the job with "Error Reading File.. Exiting" rather
// than record a digest it did not compute. A name the kind cannot carry
// (refused before the job), a list that cannot be created or put in place,
// a disk without room for the entries, all before any file is read, and a
// list that did not reach the disk whole fail it with "Error writing to
// file". A stop ends it where it is, with no list written.
void RunCreation(JobFrame& frame, const ListKind& kind, const CreationInputs& inputs, const ListTimes& times = {});

}  // namespace velmar
