// XXH3-64 and XXH128 through Debian's libxxhash, unseeded, as xxhsum -H3
// and -H2 give them; each context hashes one file, block by block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "checksum/FileDigest.h"

struct XXH3_state_s;  // libxxhash's state, kept out of every includer

namespace velmar {

bool IsXxhAlgorithm(DigestAlgorithm algorithm);

class XxhDigestContext {
public:
    explicit XxhDigestContext(DigestAlgorithm algorithm);
    ~XxhDigestContext();
    XxhDigestContext(const XxhDigestContext&) = delete;
    XxhDigestContext& operator=(const XxhDigestContext&) = delete;

    void Update(const std::uint8_t* data, std::size_t count);
    // The DigestSize bytes of the digest in xxhsum's canonical order, most
    // significant first; the context then starts afresh.
    void Final(std::uint8_t* digest);

private:
    ::XXH3_state_s* state_;
    bool wide_;  // XXH128
};

}  // namespace velmar
