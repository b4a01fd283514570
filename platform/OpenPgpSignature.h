// OpenPGP signatures checked against the user's own GnuPG keyring (the one
// in GNUPGHOME, else ~/.gnupg), through GPGME. The keyring is only read:
// no key is fetched from the network or imported, and nothing asks for a
// passphrase. Each check runs one gpg; the first in a process also has
// GPGME ask gpg and gpgsm their versions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmar {

enum class SignatureVerdict : std::uint8_t {
    None,        // no signature was checked
    Good,        // made by a key in the keyring over these very bytes
    Bad,         // the bytes are not the ones signed
    UnknownKey,  // made by a key the keyring lacks
    Unchecked,   // could not be checked, or its key is revoked: `problem` says why
};

struct SignatureCheck {
    SignatureVerdict verdict = SignatureVerdict::None;
    std::string signer;       // Good: the key's first user ID, "NAME <email>"
    std::string fingerprint;  // Good: the key's fingerprint; else the key ID the signature names, if any
    std::string problem;      // Unchecked: GPGME's words
};

// The names a detached signature takes beside the file it signs:
// NAME.gpg, NAME.sig, NAME.sign or NAME.asc.
inline constexpr std::array<std::string_view, 4> DetachedSignatureEndings = {".gpg", ".sig", ".sign", ".asc"};
// Whether `name` is one of those names for `signedName`, the ending's
// letter case aside.
bool IsDetachedSignatureName(std::string_view name, std::string_view signedName);

// The detached signature in `signaturePath` over the bytes of `signedPath`.
SignatureCheck CheckDetachedSignature(const std::string& signedPath, const std::string& signaturePath);

// The clearsigned text in the file at `path`, and in `signedText` the text
// its signature covers as gpg gives it back (dash-escaping undone, the
// armour and any text around it left out); empty when gpg gives none.
SignatureCheck CheckClearSigned(const std::string& path, std::string& signedText);

}  // namespace velmar
