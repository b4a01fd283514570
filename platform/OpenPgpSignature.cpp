#include "platform/OpenPgpSignature.h"

#include <dlfcn.h>
#include <gpgme.h>
#include <pthread.h>
#include <signal.h>
#include <time.h>

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <type_traits>

#include "platform/Files.h"
#include "platform/Paths.h"

namespace velmar {
namespace {

// libgpgme (and with it libassuan and libgpg-error) is loaded at the first
// signature checked, as libcrypto is at the first digest it computes: a
// program that checks no signed list, or only prints its version, pays
// nothing for it.
constexpr const char* GpgmeSoname = "libgpgme.so.11";

struct Gpgme {
    decltype(&gpgme_set_global_flag) setGlobalFlag;
    decltype(&gpgme_check_version_internal) checkVersion;
    decltype(&gpgme_new) newContext;
    decltype(&gpgme_release) release;
    decltype(&gpgme_set_protocol) setProtocol;
    decltype(&gpgme_set_offline) setOffline;
    decltype(&gpgme_set_pinentry_mode) setPinentryMode;
    decltype(&gpgme_set_ctx_flag) setFlag;
    decltype(&gpgme_set_status_cb) setStatusCallback;
    decltype(&gpgme_data_new) newData;
    decltype(&gpgme_data_new_from_fd) dataFromFd;
    decltype(&gpgme_data_release) releaseData;
    decltype(&gpgme_data_release_and_get_mem) takeData;
    decltype(&gpgme_free) free;
    decltype(&gpgme_op_verify) verify;
    decltype(&gpgme_op_verify_result) verifyResult;
    decltype(&gpgme_strerror) errorText;
};

template <class Function>
void Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (!function) throw std::runtime_error(std::string(GpgmeSoname) + " has no " + name);
}

// The library, or why it could not be loaded; loaded once, whatever the thread.
const Gpgme* LoadedGpgme(std::string& problem) {
    static std::string failure;
    static const std::unique_ptr<const Gpgme> gpgme = []() -> std::unique_ptr<const Gpgme> {
        void* library = ::dlopen(GpgmeSoname, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            failure = std::string("cannot load ") + GpgmeSoname;
            return nullptr;
        }
        try {
            auto loaded = std::make_unique<Gpgme>();
            Resolve(library, "gpgme_set_global_flag", loaded->setGlobalFlag);
            Resolve(library, "gpgme_check_version_internal", loaded->checkVersion);
            Resolve(library, "gpgme_new", loaded->newContext);
            Resolve(library, "gpgme_release", loaded->release);
            Resolve(library, "gpgme_set_protocol", loaded->setProtocol);
            Resolve(library, "gpgme_set_offline", loaded->setOffline);
            Resolve(library, "gpgme_set_pinentry_mode", loaded->setPinentryMode);
            Resolve(library, "gpgme_set_ctx_flag", loaded->setFlag);
            Resolve(library, "gpgme_set_status_cb", loaded->setStatusCallback);
            Resolve(library, "gpgme_data_new", loaded->newData);
            Resolve(library, "gpgme_data_new_from_fd", loaded->dataFromFd);
            Resolve(library, "gpgme_data_release", loaded->releaseData);
            Resolve(library, "gpgme_data_release_and_get_mem", loaded->takeData);
            Resolve(library, "gpgme_free", loaded->free);
            Resolve(library, "gpgme_op_verify", loaded->verify);
            Resolve(library, "gpgme_op_verify_result", loaded->verifyResult);
            Resolve(library, "gpgme_strerror", loaded->errorText);
            // GPGME asks gpgconf where the engines are, three programs run
            // before the first check; gpg is where Debian puts it.
            loaded->setGlobalFlag("disable-gpgconf", "1");
            // What gpgme_check_version(nullptr) does: GPGME wants it before any other call.
            loaded->checkVersion(nullptr, offsetof(struct _gpgme_signature, validity));
            return loaded;
        } catch (const std::runtime_error& error) {
            failure = error.what();
            return nullptr;
        }
    }();
    problem = failure;
    return gpgme.get();
}

SignatureCheck Unchecked(std::string problem) {
    return {.verdict = SignatureVerdict::Unchecked, .signer = {}, .fingerprint = {}, .problem = std::move(problem)};
}

// gpg reads what it is given through a pipe: one that ends early (a
// signature it cannot use) makes the next write raise SIGPIPE, which would
// end the program. Held back on this thread while gpg runs and dropped
// after, it leaves every other write's SIGPIPE as it was.
class SigpipeHeldBack {
public:
    SigpipeHeldBack() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &before_);
    }
    ~SigpipeHeldBack() {
        // One held back before belongs to whoever held it.
        if (!sigismember(&before_, SIGPIPE)) {
            const timespec now{};
            while (sigtimedwait(&pipe_, nullptr, &now) > 0) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    SigpipeHeldBack(const SigpipeHeldBack&) = delete;
    SigpipeHeldBack& operator=(const SigpipeHeldBack&) = delete;

private:
    sigset_t pipe_;
    sigset_t before_;
};

SignatureVerdict VerdictOf(gpgme_error_t status) {
    switch (gpgme_err_code(status)) {
        // A key that has expired since made the signature while it was valid.
        case GPG_ERR_NO_ERROR:
        case GPG_ERR_KEY_EXPIRED: return SignatureVerdict::Good;
        case GPG_ERR_BAD_SIGNATURE: return SignatureVerdict::Bad;
        case GPG_ERR_NO_PUBKEY: return SignatureVerdict::UnknownKey;
        default: return SignatureVerdict::Unchecked;
    }
}

// Of several signatures the one that tells most against the text.
int Weight(SignatureVerdict verdict) {
    switch (verdict) {
        case SignatureVerdict::Bad: return 3;
        case SignatureVerdict::Unchecked: return 2;
        case SignatureVerdict::UnknownKey: return 1;
        case SignatureVerdict::None:
        case SignatureVerdict::Good: break;
    }
    return 0;
}

// "%XX" in gpg's status words as the byte it stands for.
std::string PercentDecoded(std::string_view text) {
    const auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? digit(text[i + 1]) : -1;
        const int low = high >= 0 ? digit(text[i + 2]) : -1;
        if (low < 0) {
            decoded.push_back(text[i]);
            continue;
        }
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return decoded;
}

// What gpg's status lines say of the key of a good signature: its primary
// user ID (GOODSIG, EXPKEYSIG) and its primary fingerprint (VALIDSIG's
// last field). Read as they go by, they spare a second gpg to look the key up.
struct SignerLines {
    std::string userId;
    std::string primaryFingerprint;
};

gpgme_error_t NoteSigner(void* lines, const char* keyword, const char* arguments) {
    SignerLines& signer = *static_cast<SignerLines*>(lines);
    const std::string_view word = keyword ? keyword : "";
    const std::string_view rest = arguments ? arguments : "";
    const std::size_t blank = rest.find(' ');
    if ((word == "GOODSIG" || word == "EXPKEYSIG") && signer.userId.empty() && blank != std::string_view::npos)
        signer.userId = PercentDecoded(rest.substr(blank + 1));
    if (word == "VALIDSIG" && signer.primaryFingerprint.empty()) {
        const std::string_view last = rest.substr(rest.rfind(' ') + 1);
        if (last.size() == 40) signer.primaryFingerprint = last;
    }
    return 0;
}

// One check's GPGME objects, let go together: one context, the signature
// and the text it covers.
class Session {
public:
    explicit Session(const Gpgme& gpgme) : gpgme_(gpgme) {}
    ~Session() {
        for (gpgme_data_t data : {signature_, signed_, plain_})
            if (data) gpgme_.releaseData(data);
        if (context_) gpgme_.release(context_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // False, with `problem` set, when a file cannot be handed to gpg.
    bool Open(const std::string& signaturePath, const std::string* signedPath, bool plain, std::string& problem) {
        if (!OpenFor(signatureFile_, signature_, signaturePath, problem)) return false;
        if (signedPath && !OpenFor(signedFile_, signed_, *signedPath, problem)) return false;
        if (plain && !Made(gpgme_.newData(&plain_), problem)) return false;
        if (!Made(gpgme_.newContext(&context_), problem)) return false;
        gpgme_.setProtocol(context_, GPGME_PROTOCOL_OpenPGP);
        // No dirmngr, so no key is fetched whatever gpg.conf says; no
        // pinentry; and no trust database or TOFU history to read, update
        // or write: who signed is told, not how far the user trusts them.
        gpgme_.setOffline(context_, 1);
        gpgme_.setPinentryMode(context_, GPGME_PINENTRY_MODE_CANCEL);
        gpgme_.setFlag(context_, "trust-model", "always");
        gpgme_.setFlag(context_, "full-status", "1");
        gpgme_.setStatusCallback(context_, NoteSigner, &signer_);
        return true;
    }

    SignatureCheck Verify(std::string* plainText) {
        const SigpipeHeldBack heldBack;
        const gpgme_error_t failed = gpgme_.verify(context_, signature_, signed_, plain_);
        if (plainText) {
            std::size_t length = 0;
            char* text = gpgme_.takeData(plain_, &length);
            plain_ = nullptr;
            plainText->assign(text ? text : "", text ? length : 0);
            gpgme_.free(text);
        }
        if (failed) return Unchecked(gpgme_.errorText(failed));
        const gpgme_verify_result_t result = gpgme_.verifyResult(context_);
        gpgme_signature_t chosen = result ? result->signatures : nullptr;
        if (!chosen) return Unchecked("no signature found");
        for (gpgme_signature_t other = chosen->next; other; other = other->next)
            if (Weight(VerdictOf(other->status)) > Weight(VerdictOf(chosen->status))) chosen = other;
        SignatureCheck check{.verdict = VerdictOf(chosen->status),
                             .signer = {},
                             .fingerprint = chosen->fpr ? chosen->fpr : "",
                             .problem = {}};
        if (check.verdict == SignatureVerdict::Unchecked) check.problem = gpgme_.errorText(chosen->status);
        if (check.verdict == SignatureVerdict::Good) {
            check.signer = signer_.userId;
            if (!signer_.primaryFingerprint.empty()) check.fingerprint = signer_.primaryFingerprint;
        }
        return check;
    }

private:
    bool Made(gpgme_error_t error, std::string& problem) {
        if (error) problem = gpgme_.errorText(error);
        return !error;
    }

    bool OpenFor(InputFile& file, gpgme_data_t& data, const std::string& path, std::string& problem) {
        if (!file.Open(path)) {
            const int error = file.OpenError();
            problem = BaseNameOf(path) + ": " + (error > 0 ? SystemErrorText(error) : "no regular file");
            return false;
        }
        return Made(gpgme_.dataFromFd(&data, file.Descriptor()), problem);
    }

    const Gpgme& gpgme_;
    InputFile signatureFile_, signedFile_;
    gpgme_data_t signature_ = nullptr, signed_ = nullptr, plain_ = nullptr;
    gpgme_ctx_t context_ = nullptr;
    SignerLines signer_;
};

// One gpg over the signature in `signaturePath`: over `signedPath` where
// given (a detached signature), else over the text inside it, given back in
// `plainText`.
SignatureCheck Check(const std::string& signaturePath, const std::string* signedPath, std::string* plainText) {
    std::string problem;
    const Gpgme* gpgme = LoadedGpgme(problem);
    if (!gpgme) return Unchecked(problem);
    Session session(*gpgme);
    if (!session.Open(signaturePath, signedPath, plainText != nullptr, problem)) return Unchecked(problem);
    return session.Verify(plainText);
}

}  // namespace

SignatureCheck CheckDetachedSignature(const std::string& signedPath, const std::string& signaturePath) {
    return Check(signaturePath, &signedPath, nullptr);
}

SignatureCheck CheckClearSigned(const std::string& path, std::string& signedText) {
    return Check(path, nullptr, &signedText);
}

bool IsDetachedSignatureName(std::string_view name, std::string_view signedName) {
    if (!name.starts_with(signedName)) return false;
    const std::string_view ending = name.substr(signedName.size());
    for (const std::string_view each : DetachedSignatureEndings)
        if (ending.size() == each.size() && NameEndsWith(name, each)) return true;
    return false;
}

}  // namespace velmar
