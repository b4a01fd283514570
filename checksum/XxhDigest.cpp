#include "checksum/XxhDigest.h"

#include <cstring>
#include <new>

#include <xxhash.h>
// The updates through the library's dispatch, which picks SSE2, AVX2 or
// AVX-512 for the CPU: twice the speed of SSE2 alone where AVX2 is there.
#if defined(__x86_64__)
#include <xxh_x86dispatch.h>
#endif

namespace velmar {

bool IsXxhAlgorithm(DigestAlgorithm algorithm) {
    return algorithm == DigestAlgorithm::Xxh3 || algorithm == DigestAlgorithm::Xxh128;
}

XxhDigestContext::XxhDigestContext(DigestAlgorithm algorithm)
    : state_(XXH3_createState()), wide_(algorithm == DigestAlgorithm::Xxh128) {
    if (!state_) throw std::bad_alloc();
    if (wide_) XXH3_128bits_reset(state_);
    else XXH3_64bits_reset(state_);
}

XxhDigestContext::~XxhDigestContext() { XXH3_freeState(state_); }

void XxhDigestContext::Update(const std::uint8_t* data, std::size_t count) {
    if (wide_) XXH3_128bits_update(state_, data, count);
    else XXH3_64bits_update(state_, data, count);
}

void XxhDigestContext::Final(std::uint8_t* digest) {
    if (wide_) {
        XXH128_canonical_t canonical;
        XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state_));
        std::memcpy(digest, canonical.digest, sizeof canonical.digest);
        XXH3_128bits_reset(state_);
    } else {
        XXH64_canonical_t canonical;
        XXH64_canonicalFromHash(&canonical, XXH3_64bits_digest(state_));
        std::memcpy(digest, canonical.digest, sizeof canonical.digest);
        XXH3_64bits_reset(state_);
    }
}

}  // namespace velmar
