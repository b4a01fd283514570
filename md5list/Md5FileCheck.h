// The check of one listed file against its expected digest, shared by the
// verification job and the select-verify go!.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "jobs/JobFrame.h"
#include "platform/ReadBuffer.h"

namespace velmar {

// IconNA when the file cannot be opened, IconOk when its digest matches
// `expected` (letter case ignored), else IconBad. A file that opens but
// cannot then be read ends the program with "Error Reading File.. Exiting".
StatusIcon CheckListedMd5(JobFrame& frame, const std::string& path, std::string_view expected, ReadBuffer& buffer);

// The verification of a read list of digests and names, one row each, from
// the first row's check to the rename question. Each file is tried once,
// under its name exactly as listed, blanks and all.
void VerifyListedMd5s(JobFrame& frame, const std::string& listDirectory, const std::vector<std::string>& digests,
                      const std::vector<std::string>& names);

}  // namespace velmar
