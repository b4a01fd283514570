// SHA-1, SHA-256, SHA-512, BLAKE2b-512, SHA3-256 and SHA3-512 through
// OpenSSL's libcrypto, which picks the CPU's SHA extensions or vector code
// where it can; each context hashes one file, block by block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "checksum/FileDigest.h"

struct evp_md_ctx_st;  // OpenSSL's context, kept out of every includer

namespace velmar {

// The algorithms libcrypto computes for us.
bool IsEvpAlgorithm(DigestAlgorithm algorithm);

class EvpDigestContext {
public:
    explicit EvpDigestContext(DigestAlgorithm algorithm);
    ~EvpDigestContext();
    EvpDigestContext(const EvpDigestContext&) = delete;
    EvpDigestContext& operator=(const EvpDigestContext&) = delete;

    void Update(const std::uint8_t* data, std::size_t count);
    // The DigestSize bytes of the digest; the context then starts afresh.
    void Final(std::uint8_t* digest);

private:
    ::evp_md_ctx_st* context_;
    const void* md_;  // the algorithm, fetched once for the program
};

}  // namespace velmar
