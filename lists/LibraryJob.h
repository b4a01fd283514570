// Verifying a library: every list below a folder, each against its own
// folder, in one run that a list that cannot be read does not end.
#pragma once

#include <string>
#include <string_view>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"

namespace velmar {

// How the lists of a library are told: which names are lists at all, and
// the kind of each (kinds/ListKinds.h gives both).
struct LibraryKinds {
    bool (*isListName)(std::string_view name);
    KindOfList kindOf;
};

// Finds every list below `folder` (hidden folders left out; signatures,
// ".BAD" files and our hidden replacement files are no lists), reads each
// one, adds a pending row per entry named by its path from `folder`, and
// checks every row's file against its list, the rows of one digest read in
// one engine run. A list that cannot be read (or whose signature is refused)
// becomes one N/A row, named by its path, its message as the reason, and
// the run goes on. The summary reads "LISTS:n  OK:n  BAD:n  N/A:n"; the
// bad files are renamed on request, each only inside its own list's folder.
void VerifyLibrary(JobFrame& frame, const std::string& folder, const LibraryKinds& kinds);

// "LISTS:n  OK:n  BAD:n  N/A:n", "BAD:5 (2 corrupt)" where bad files were
// damaged in place.
std::string LibrarySummaryText(int lists, const Tallies& tallies);

}  // namespace velmar
