// The kinds of the sum tools' lists (md5sum, sha256sum, b2sum, b3sum,
// xxhsum and the rest): one row each, their lines read and written alike
// (kinds/SumLine.h).
#pragma once

#include <span>
#include <string_view>

#include "kinds/KindTexts.h"
#include "lists/ListKind.h"

namespace velmar {

struct SumToolKind {
    ListKind kind;
    KindTexts texts;
};

// Every sum tool's kind, in the order of the table: MD5, SHA256, SHA1,
// SHA512, BLAKE2, BLAKE3, XXH3, XXH128, SHA3-256, SHA3-512.
std::span<const SumToolKind> SumToolKinds();

// The sum tool's kind of that name ("SHA256"); the table holds every name
// asked for here.
const ListKind& SumToolKindNamed(std::string_view name);

// The rows of the table by name, for the code and tests that name one.
extern const ListKind& Md5Kind;
extern const ListKind& Sha256Kind;
extern const ListKind& Sha1Kind;
extern const ListKind& Sha512Kind;
extern const ListKind& Blake2Kind;
extern const ListKind& Blake3Kind;
extern const ListKind& Xxh3Kind;
extern const ListKind& Xxh128Kind;
extern const ListKind& Sha3_256Kind;
extern const ListKind& Sha3_512Kind;
extern const ListKind& Sha224Kind;
extern const ListKind& Sha384Kind;

}  // namespace velmar
