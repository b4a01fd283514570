// The M3U playlist kind: a "#" line with each entry's MD5 digest before its
// name, so that a media player still plays the list.
#pragma once

#include "kinds/KindTexts.h"
#include "lists/ListKind.h"

namespace velmar {

extern const ListKind M3uKind;
extern const KindTexts M3uTexts;

}  // namespace velmar
