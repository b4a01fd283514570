// Telling a list's kind from its name and its lines, among the kinds given.
#pragma once

#include <span>
#include <string>

#include "lists/ListKind.h"

namespace velmar {

// The kind of the list at `path` among `kinds`: the one whose name
// patterns match the list's name (letter case aside); failing that, the
// kind other than the first that reads one of the list's first lines as
// its entry (only the first 32 KiB of its text are read); where that line's
// digits fit several kinds, a later line only one of them reads (a BSD tag)
// decides, else the digest of the first entry's file; else the first kind,
// as for a list that is missing, unreadable, empty or no list at all. A
// name that several kinds' patterns match (".sha3") leaves it to the lines
// in the same way, among those kinds, the first of them when they tell
// nothing. The first kind is asked nothing of the lines: it must be the one
// that takes almost any line (SFV).
const ListKind& KindOfListAmong(std::span<const ListKind* const> kinds, const std::string& path);

}  // namespace velmar
