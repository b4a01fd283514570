// The SHA-1 list kind: sha1sum's layout, and the one-file .sha1 lists that
// package repositories publish beside each download.
#pragma once

#include "lists/ListKind.h"

namespace velmar {

extern const ListKind Sha1Kind;

}  // namespace velmar
