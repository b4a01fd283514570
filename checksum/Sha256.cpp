#include "checksum/Sha256.h"

#include <dlfcn.h>

#include <new>
#include <stdexcept>
#include <string>

#include <openssl/evp.h>
#include <openssl/opensslv.h>

namespace velmar {
namespace {

// libcrypto is loaded at the first SHA-256, not at the program's start: it
// is a large library, and loading it costs a program that only verifies an
// SFV or MD5 list, or only prints its version, more than all else it does
// before its first file.
struct Libcrypto {
    decltype(&EVP_MD_fetch) fetch;
    decltype(&EVP_MD_CTX_new) newContext;
    decltype(&EVP_MD_CTX_free) freeContext;
    decltype(&EVP_DigestInit_ex) init;
    decltype(&EVP_DigestUpdate) update;
    decltype(&EVP_DigestFinal_ex) final;
    // Fetched once: an implicit fetch on every start would take the
    // library's provider lock once per file.
    EVP_MD* sha256;
};

template <class Function>
void Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (!function) throw std::runtime_error(std::string("libcrypto has no ") + name);
}

const Libcrypto& Crypto() {
    static const Libcrypto crypto = [] {
        const std::string soname = "libcrypto.so." + std::to_string(OPENSSL_VERSION_MAJOR);
        void* library = ::dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) throw std::runtime_error("cannot load " + soname + " for SHA-256");
        Libcrypto loaded{};
        Resolve(library, "EVP_MD_fetch", loaded.fetch);
        Resolve(library, "EVP_MD_CTX_new", loaded.newContext);
        Resolve(library, "EVP_MD_CTX_free", loaded.freeContext);
        Resolve(library, "EVP_DigestInit_ex", loaded.init);
        Resolve(library, "EVP_DigestUpdate", loaded.update);
        Resolve(library, "EVP_DigestFinal_ex", loaded.final);
        loaded.sha256 = loaded.fetch(nullptr, "SHA256", nullptr);
        if (!loaded.sha256) throw std::runtime_error("libcrypto has no SHA-256");
        return loaded;
    }();
    return crypto;
}

}  // namespace

Sha256Context::Sha256Context() : context_(Crypto().newContext()) {
    if (!context_ || !Crypto().init(context_, Crypto().sha256, nullptr)) throw std::bad_alloc();
}

Sha256Context::~Sha256Context() { Crypto().freeContext(context_); }

void Sha256Context::Update(const std::uint8_t* data, std::size_t count) { Crypto().update(context_, data, count); }

void Sha256Context::Final(std::uint8_t digest[32]) {
    unsigned int size = 0;
    Crypto().final(context_, digest, &size);
    Crypto().init(context_, Crypto().sha256, nullptr);
}

}  // namespace velmar
