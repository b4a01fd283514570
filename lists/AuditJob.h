// A list held against the tree it lies in, for every kind: the audit, which
// checks every listed file and finds the files no entry names, and Add New
// Files, which finds and hashes only those.
#pragma once

#include <string>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"

namespace velmar {

enum class AuditMode {
    // Every entry checked as Verify checks it (BAD, N/A), the files below
    // the list's folder that it does not name shown as new, and a missing
    // entry whose digest a new file has shown as moved to that file; then
    // "Update List?" when anything is new, missing or moved.
    Audit,
    // Only the files the list does not name, hashed and shown as new; then
    // "Add n Files to the List?". No listed file is read.
    AddNewFiles,
};

// The rewritten list of a Yes: its text as read, its header and comments
// kept, each missing entry's lines left out, each moved entry's replaced by
// an entry for its new name, every other entry's kept as they were (a BAD
// one with its listed digest: an audit never takes a changed file for
// good), and one entry per new file after them, in the tree's order. It
// replaces the list through the hidden replacement file.
// A one-file list named after its file (a sidecar, "NAME.md5" listing NAME
// alone) has only its file checked: no file beside it is new to it, and
// nothing is offered, so it is never rewritten.
void AuditList(JobFrame& frame, AuditMode mode, const ListKind& kind, const std::string& listPath);

}  // namespace velmar
