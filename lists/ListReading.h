// The one loop over a list's pieces, for every kind and every reader: the
// verification jobs and the select-verify load.
#pragma once

#include <string>
#include <vector>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"

namespace velmar {

// Appends one pending row through `frame` per entry, in line order, and the
// entry's expected digest text and name to the two tables at the row's
// index (they grow with the list). The quit check runs before each piece.
// A list that cannot be opened ends the program with the kind's missing
// message; one that is malformed, cannot be read to its end, or (where the
// kind requires entries) holds none, with its unusable message. Returns the
// number of entries.
int ReadListEntries(JobFrame& frame, const ListKind& kind, const std::string& path, ReadPurpose purpose,
                    std::vector<std::string>& digests, std::vector<std::string>& names);

}  // namespace velmar
