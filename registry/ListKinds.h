// Every list kind the program knows, in menu order. The menu, go! and the
// command bindings are built from this one table.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "lists/ListKind.h"

namespace velmar {

std::span<const ListKind* const> ListKinds();

// The kind of the list at `path`, as a list named on the command line,
// dropped on the window or opened through the desktop's file-type tie is
// read: the first kind whose Verify dialog offers the list's name (letter
// case aside, "All files" and "Text files" apart); failing that, the kind
// other than SFV that reads one of the list's first lines as its entry
// (only the first 32 KiB of its text are read); else SFV, as for a list
// that is missing, unreadable, empty or no list at all.
const ListKind& ListKindOf(const std::string& path);

// A kind's short name, as the command line takes it: its menu's caption in
// lower case, without its '&' ("sfv", "md5", "m3u", "sha256"); and the kind
// such a name names, or nullptr.
std::string KindShortName(const ListKind& kind);
const ListKind* KindByShortName(const std::string& name);

// The Audit dialog's filter: one entry for every kind's lists, then each
// kind's own, then "All files".
std::string AllListsFilter();

}  // namespace velmar
