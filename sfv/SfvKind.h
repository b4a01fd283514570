// The SFV list kind: names and CRC-32 values, ";" comments.
#pragma once

#include "lists/ListKind.h"

namespace velmar {

extern const ListKind SfvKind;

}  // namespace velmar
