#include "checksum/Sha256.h"

#include <new>

#include <openssl/evp.h>

namespace velmar {
namespace {

// Fetched once: an implicit fetch on every start would take the library's
// provider lock once per file.
const EVP_MD* Sha256Method() {
    static EVP_MD* method = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    return method;
}

}  // namespace

Sha256Context::Sha256Context() : context_(EVP_MD_CTX_new()) {
    if (!context_ || !EVP_DigestInit_ex(context_, Sha256Method(), nullptr)) throw std::bad_alloc();
}

Sha256Context::~Sha256Context() { EVP_MD_CTX_free(context_); }

void Sha256Context::Update(const std::uint8_t* data, std::size_t count) { EVP_DigestUpdate(context_, data, count); }

void Sha256Context::Final(std::uint8_t digest[32]) {
    unsigned int size = 0;
    EVP_DigestFinal_ex(context_, digest, &size);
    EVP_DigestInit_ex(context_, Sha256Method(), nullptr);
}

}  // namespace velmar
