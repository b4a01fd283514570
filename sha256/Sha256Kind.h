// The SHA-256 list kind: sha256sum's layout, as Linux distributions and
// download sites publish it for their disc images.
#pragma once

#include "lists/ListKind.h"

namespace velmar {

extern const ListKind Sha256Kind;

}  // namespace velmar
