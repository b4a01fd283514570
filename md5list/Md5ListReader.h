// Reads an MD5 list for a job or a select-verify load: one pending row per
// entry, in line order, and the entry's digest text at the row's index.
#pragma once

#include <string>
#include <vector>

#include "jobs/JobFrame.h"

namespace velmar {

// Appends the rows through `frame` and the digests and names to the two
// tables, which grow with the list. Never returns without an entry: a list
// that cannot be read, holds no entry, or has a NUL among an entry's digits
// (after that entry's row is shown) ends the program with
// "Error Reading MD5 File.. Exiting". The quit check runs before each line.
// Returns the number of entries read.
int ReadMd5List(JobFrame& frame, const std::string& path, std::vector<std::string>& digests,
                std::vector<std::string>& names);

}  // namespace velmar
