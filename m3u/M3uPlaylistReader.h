// Reads a playlist for the verification job or a select-verify load.
#pragma once

#include <string>
#include <vector>

#include "lists/ListReading.h"
#include "m3u/M3uKind.h"

namespace velmar {

// Every digest line and the line right after it, whatever that holds, make
// one entry: a pending row through `frame`, the digest as written into
// `digests` and the name into `names`, at the row's index. Every other line
// is skipped; a digest line with nothing after it adds nothing. A playlist
// that cannot be read or holds no entry, or an entry whose digest a NUL
// cuts short (after its row is shown), ends the program with "Error Reading
// M3U File.. Exiting". Returns the number of entries.
inline int ReadM3uPlaylist(JobFrame& frame, const std::string& path, std::vector<std::string>& digests,
                           std::vector<std::string>& names) {
    return ReadListEntries(frame, M3uKind, path, ReadPurpose::MenuVerify, digests, names);
}

}  // namespace velmar
