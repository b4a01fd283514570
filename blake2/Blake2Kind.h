// The BLAKE2 list kind: BLAKE2b-512 in b2sum's layout, as Arch Linux
// publishes its b2sums.
#pragma once

#include "lists/ListKind.h"

namespace velmar {

extern const ListKind Blake2Kind;

}  // namespace velmar
