// The checks of one download: a file against the digest its web page shows
// (or, with none, all its digests shown), and two files against each other.
// Each becomes rows marked as a list's are, so that the details, a report
// and Show Problems Only work on them as on any other.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "checksum/FileDigest.h"
#include "checksum/PastedDigest.h"
#include "jobs/JobFrame.h"
#include "lists/ListKind.h"

namespace velmar {

// What a file's row shows when no digest is given, in this order.
std::span<const DigestAlgorithm> ShownAlgorithms();

struct FileCheck {
    // IconOk when a digest matched (or every digest was computed), IconBad
    // when none did, IconNA when the file could not be read, IconPending
    // when the check was stopped.
    StatusIcon icon = IconPending;
    std::optional<DigestAlgorithm> matched;
    std::vector<DigestAlgorithm> algorithms;  // what the file was read for
    std::vector<FileDigest> digests;          // one for each
};

// The file at `path` as a row, checked against `digest`: read first for the
// likeliest algorithm its text can be, and, where that does not match, once
// more for all the others side by side. Without a digest, read once for
// every one of ShownAlgorithms.
FileCheck CheckFile(JobFrame& frame, const std::string& path, const PastedDigest* digest);

// The file at `path` checked against the entry of the `kind` list at
// `listPath` that names it, as CheckFile checks it against a digest; the
// list's other entries (files not downloaded) are not reported. An entry
// names the file when it leads to it from the list's folder or, for a list
// kept elsewhere, has its name. No such entry: the row is marked N/A.
FileCheck CheckFileAgainstList(JobFrame& frame, const std::string& path, const ListKind& kind,
                               const std::string& listPath);

struct FileComparison {
    enum class Answer { Identical, Different, Unreadable, Stopped } answer = Answer::Stopped;
    // Where the files first differ, when their sizes agree.
    std::optional<std::uint64_t> firstDifference;
};

// The files at `a` and `b` as two rows, read side by side and compared byte
// for byte: both marked OK when identical, BAD when not.
FileComparison CompareFiles(JobFrame& frame, const std::string& a, const std::string& b);

}  // namespace velmar
