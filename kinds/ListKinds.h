// Every list kind the program knows, in menu order, with what the window
// and the command line call each. The menu, go! and the command line's
// kinds are built from this one table.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "kinds/KindTexts.h"
#include "lists/ListKind.h"

namespace velmar {

// SFV, MD5, M3U, then the other sum tools' kinds in their table's order.
std::span<const ListKind* const> ListKinds();

// What the window and the command line call a kind of the table.
const KindTexts& TextsOf(const ListKind& kind);

// The kind of the list at `path`, as a list named on the command line,
// dropped on the window or opened through the desktop's file-type tie is
// read: lists/KindOfList.h's rule over this table, SFV where nothing else
// claims it.
const ListKind& ListKindOf(const std::string& path);

// Whether `name` (a file's name, no folder) is a list's name to any kind,
// letter case aside.
bool IsListName(std::string_view name);

// A kind's short name, as the command line takes it: its name in lower
// case ("sfv", "md5", "m3u", "sha256"); and the kind such a name names, or
// nullptr.
std::string KindShortName(const ListKind& kind);
const ListKind* KindByShortName(const std::string& name);

// The Audit dialog's filter: one entry for every kind's lists, then each
// kind's own, then "All files".
std::string AllListsFilter();

}  // namespace velmar
