// A digest as people paste it from a web page: hexadecimal digits in either
// case, perhaps grouped by blanks or colons or led by "0x"; the same bytes in
// base64; or a subresource-integrity string ("sha256-..."). Told only by its
// length and alphabet, a text can be several algorithms' digest: 64 digits
// are SHA-256, BLAKE3 or SHA3-256 alike, and the file decides which.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "checksum/FileDigest.h"

namespace velmar {

struct PastedDigest {
    std::vector<std::uint8_t> bytes;
    // What it can be the digest of, the likeliest first.
    std::vector<DigestAlgorithm> algorithms;
};

// Nothing for a text that is no digest of any algorithm Velmar computes.
// A sum tool's whole line ("DIGEST  NAME") gives its digest.
std::optional<PastedDigest> ParsePastedDigest(std::string_view text);

// The algorithms a digest of `size` bytes can be, the likeliest first.
std::vector<DigestAlgorithm> AlgorithmsOfSize(std::size_t size);

}  // namespace velmar
