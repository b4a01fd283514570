// The MD5 list kind: md5sum's layout, no comments, no header.
#pragma once

#include "lists/ListKind.h"

namespace velmar {

extern const ListKind Md5Kind;

}  // namespace velmar
