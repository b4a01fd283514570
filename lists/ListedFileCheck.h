// The check of one listed file against its expected digest, shared by the
// verification jobs and the select-verify pass of every kind.
#pragma once

#include <string>
#include <string_view>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"
#include "platform/ReadBuffer.h"

namespace velmar {

// IconNA when the file (list folder + listed name) cannot be opened,
// IconOk when its digest matches `expected` (letter case ignored), else
// IconBad. A kind that retries without leading blanks tries the name once
// more without its leading blanks and control characters (lists written by
// hand often indent their names). A file that opens but cannot be read to
// its end ends the program with "Error Reading File.. Exiting" where the
// kind says so; elsewhere the digest of the bytes before the error is
// compared, which will normally not match.
StatusIcon CheckListedFile(JobFrame& frame, const ListKind& kind, std::string_view listDirectory,
                           std::string_view name, std::string_view expected, ReadBuffer& buffer);

}  // namespace velmar
