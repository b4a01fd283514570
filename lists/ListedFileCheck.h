// The check of one listed file against its expected digest, shared by the
// verification jobs and the select-verify pass of every kind. The digest is
// computed on the engine's workers; the verdict is given on the job's own
// thread, in row order, where a fatal end may happen.
#pragma once

#include <string>
#include <string_view>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"
#include "platform/ReadBuffer.h"

namespace velmar {

// The digest of list folder + listed name. A kind that retries without
// leading blanks tries the name once more without its leading blanks and
// control characters (lists written by hand often indent their names).
FileDigest DigestListedFile(const ListKind& kind, std::string_view listDirectory, std::string_view name,
                            ReadBuffer& buffer);

// IconNA when the file could not be opened, IconOk when its digest matches
// `expected` (letter case ignored), else IconBad. A file that opened but
// could not be read to its end ends the program with "Error Reading File..
// Exiting" where the kind says so; elsewhere the digest of the bytes before
// the error is compared, which will normally not match.
StatusIcon JudgeListedFile(JobFrame& frame, const ListKind& kind, const FileDigest& digest,
                           std::string_view expected);

}  // namespace velmar
