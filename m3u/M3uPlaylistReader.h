// Reads a playlist for the verification job or a select-verify load.
#pragma once

#include <string>
#include <vector>

#include "jobs/JobFrame.h"

namespace velmar {

// Every digest line and the line right after it, whatever that holds, make
// one entry: a pending row through `frame`, the digest as written into
// `digests` and the name into `names`, at the row's index (both grow with
// the playlist). Every other line is skipped. A digest line with nothing
// after it adds nothing. The quit check runs before each line.
//
// Never returns without an entry: a playlist that cannot be read or holds
// no entry, or an entry whose digest a NUL cuts short (after its row is
// shown), ends the program with "Error Reading M3U File.. Exiting".
// Returns the number of entries.
int ReadM3uPlaylist(JobFrame& frame, const std::string& path, std::vector<std::string>& digests,
                    std::vector<std::string>& names);

}  // namespace velmar
