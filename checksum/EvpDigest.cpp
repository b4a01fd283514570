#include "checksum/EvpDigest.h"

#include <dlfcn.h>

#include <new>
#include <stdexcept>
#include <string>
#include <iterator>

#include <openssl/evp.h>
#include <openssl/opensslv.h>

namespace velmar {
namespace {

// libcrypto is loaded at the first digest it computes, not at the program's
// start: it is a large library, and loading it costs a program that only
// verifies an SFV or MD5 list, or only prints its version, more than all
// else it does before its first file.
constexpr DigestAlgorithm EvpAlgorithms[] = {DigestAlgorithm::Sha1,    DigestAlgorithm::Sha256,
                                             DigestAlgorithm::Sha512,  DigestAlgorithm::Blake2b,
                                             DigestAlgorithm::Sha3_256, DigestAlgorithm::Sha3_512,
                                             DigestAlgorithm::Sha224,  DigestAlgorithm::Sha384};

const char* EvpName(DigestAlgorithm algorithm) {
    switch (algorithm) {
        case DigestAlgorithm::Sha1: return "SHA1";
        case DigestAlgorithm::Sha256: return "SHA256";
        case DigestAlgorithm::Sha512: return "SHA512";
        case DigestAlgorithm::Blake2b: return "BLAKE2B-512";
        case DigestAlgorithm::Sha3_256: return "SHA3-256";
        case DigestAlgorithm::Sha3_512: return "SHA3-512";
        case DigestAlgorithm::Sha224: return "SHA224";
        case DigestAlgorithm::Sha384: return "SHA384";
        default: return nullptr;
    }
}

struct Libcrypto {
    decltype(&EVP_MD_fetch) fetch;
    decltype(&EVP_MD_CTX_new) newContext;
    decltype(&EVP_MD_CTX_free) freeContext;
    decltype(&EVP_DigestInit_ex) init;
    decltype(&EVP_DigestUpdate) update;
    decltype(&EVP_DigestFinal_ex) final;
    // Each algorithm fetched once, at the load: an implicit fetch on every
    // start would take the library's provider lock once per file.
    const EVP_MD* fetched[std::size(EvpAlgorithms)];

    const EVP_MD* Of(DigestAlgorithm algorithm) const {
        for (std::size_t i = 0; i < std::size(EvpAlgorithms); ++i)
            if (EvpAlgorithms[i] == algorithm) return fetched[i];
        throw std::logic_error("libcrypto computes no such digest here");
    }
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
        if (!library) throw std::runtime_error("cannot load " + soname);
        Libcrypto loaded{};
        Resolve(library, "EVP_MD_fetch", loaded.fetch);
        Resolve(library, "EVP_MD_CTX_new", loaded.newContext);
        Resolve(library, "EVP_MD_CTX_free", loaded.freeContext);
        Resolve(library, "EVP_DigestInit_ex", loaded.init);
        Resolve(library, "EVP_DigestUpdate", loaded.update);
        Resolve(library, "EVP_DigestFinal_ex", loaded.final);
        for (std::size_t i = 0; i < std::size(EvpAlgorithms); ++i) {
            const char* name = EvpName(EvpAlgorithms[i]);
            loaded.fetched[i] = loaded.fetch(nullptr, name, nullptr);
            if (!loaded.fetched[i]) throw std::runtime_error(std::string("libcrypto has no ") + name);
        }
        return loaded;
    }();
    return crypto;
}

}  // namespace

bool IsEvpAlgorithm(DigestAlgorithm algorithm) { return EvpName(algorithm) != nullptr; }

EvpDigestContext::EvpDigestContext(DigestAlgorithm algorithm)
    : context_(Crypto().newContext()), md_(Crypto().Of(algorithm)) {
    if (!context_ || !Crypto().init(context_, static_cast<const EVP_MD*>(md_), nullptr)) throw std::bad_alloc();
}

EvpDigestContext::~EvpDigestContext() { Crypto().freeContext(context_); }

void EvpDigestContext::Update(const std::uint8_t* data, std::size_t count) { Crypto().update(context_, data, count); }

void EvpDigestContext::Final(std::uint8_t* digest) {
    unsigned int size = 0;
    Crypto().final(context_, digest, &size);
    Crypto().init(context_, static_cast<const EVP_MD*>(md_), nullptr);
}

}  // namespace velmar
