// The M3U playlist kind: a "#" line with each entry's MD5 digest before its
// name, so that a media player still plays the list.
#pragma once

#include "lists/ListKind.h"

namespace velmar {

extern const ListKind M3uKind;

}  // namespace velmar
