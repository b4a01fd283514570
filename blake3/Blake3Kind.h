// The BLAKE3 list kind: b3sum's layout, which newer projects publish beside
// their downloads.
#pragma once

#include "lists/ListKind.h"

namespace velmar {

extern const ListKind Blake3Kind;

}  // namespace velmar
