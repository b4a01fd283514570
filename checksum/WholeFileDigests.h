// The digests of files already read whole into memory, as a batch of small
// files comes back from the kernel: each as DigestFile gives it, Ok with its
// length. MD5 takes up to sixteen of them side by side through its lanes,
// so that a batch of small files keeps the vector units as busy as a few
// large ones do.
#pragma once

#include <cstdint>
#include <span>

#include "checksum/FileDigest.h"

namespace velmar {

void DigestWholeFiles(DigestAlgorithm algorithm, std::span<const std::span<const std::uint8_t>> files,
                      std::span<FileDigest> out);

}  // namespace velmar
