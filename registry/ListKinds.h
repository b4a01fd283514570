// Every list kind the program knows, in menu order. The menu, go! and the
// command bindings are built from this one table.
#pragma once

#include <span>

#include "lists/ListKind.h"

namespace velmar {

std::span<const ListKind* const> ListKinds();

// The kind a list named on the command line, dropped on the window or
// opened through the desktop's file-type tie is read as.
const ListKind& CommandLineKind();

}  // namespace velmar
