// The check of one listed file against its expected digest, shared by the
// verification jobs and the select-verify pass of every kind. The digest is
// computed on the engine's workers; the verdict is given on the job's own
// thread, in row order, where a fatal end may happen.
#pragma once

#include <string>
#include <string_view>

#include <functional>
#include <memory>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"
#include "lists/ListedFileFinder.h"

namespace velmar {

// The files a list's rows name, each found by `finder` from the name of
// its row.
RowFiles ListedFiles(const ListKind& kind, ListedFileFinder& finder, std::function<std::string_view(int row)> nameOf);

// IconNA when the file could not be opened, IconOk when its digest matches
// `expected` (letter case ignored), else IconBad. A file that opened but
// could not be read to its end fails the job with "Error Reading File..
// Exiting" where the kind says so; elsewhere the digest of the bytes before
// the error is compared, which will normally not match.
StatusIcon JudgeListedFile(JobFrame& frame, const ListKind& kind, const FileDigest& digest,
                           std::string_view expected);

// What the row of the file at `path` tells once checked against `expected`
// ("" for a file no list names): both digests, its size, why it is marked
// `icon`.
RowDetails CheckedFileDetails(std::string path, std::string_view expected, const FileDigest& digest, StatusIcon icon);

// What the row of a listed file checked tells: where it was found, both
// digests, its size and why it is marked `icon`; a bad file, whether it was
// written after its list (changed) or not (corrupt).
RowDetails ListedFileDetails(ListedFileFinder& finder, std::string_view name, std::string_view expected,
                             const FileDigest& digest, StatusIcon icon);

}  // namespace velmar
