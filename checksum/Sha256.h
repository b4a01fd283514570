// SHA-256 through OpenSSL's libcrypto, which picks the CPU's SHA extensions
// or vector code where it can. A context is one running computation.
#pragma once

#include <cstddef>
#include <cstdint>

struct evp_md_ctx_st;  // OpenSSL's context, kept out of every includer

namespace velmar {

class Sha256Context {
public:
    Sha256Context();
    ~Sha256Context();
    Sha256Context(const Sha256Context&) = delete;
    Sha256Context& operator=(const Sha256Context&) = delete;

    void Update(const std::uint8_t* data, std::size_t count);
    // The 32 bytes of the digest; the context then starts afresh.
    void Final(std::uint8_t digest[32]);

private:
    ::evp_md_ctx_st* context_;
};

}  // namespace velmar
