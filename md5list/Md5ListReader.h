// Reads an MD5 list for a job or a select-verify load: one pending row per
// entry, in line order, and the entry's digest text at the row's index.
#pragma once

#include <string>
#include <vector>

#include "lists/ListReading.h"
#include "md5list/Md5Kind.h"

namespace velmar {

// Never returns without an entry: a list that cannot be read, holds no
// entry, or has a NUL among an entry's digits (after that entry's row is
// shown) ends the program with "Error Reading MD5 File.. Exiting".
inline int ReadMd5List(JobFrame& frame, const std::string& path, std::vector<std::string>& digests,
                       std::vector<std::string>& names) {
    return ReadListEntries(frame, Md5Kind, path, ReadPurpose::MenuVerify, digests, names);
}

}  // namespace velmar
