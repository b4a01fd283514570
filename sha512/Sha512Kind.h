// The SHA-512 list kind: sha512sum's layout, as Debian publishes its
// SHA512SUMS beside its images.
#pragma once

#include "lists/ListKind.h"

namespace velmar {

extern const ListKind Sha512Kind;

}  // namespace velmar
