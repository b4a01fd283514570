// The SFV list kind: names and CRC-32 values, ";" comments.
#pragma once

#include "kinds/KindTexts.h"
#include "lists/ListKind.h"

namespace velmar {

extern const ListKind SfvKind;
extern const KindTexts SfvTexts;

}  // namespace velmar
