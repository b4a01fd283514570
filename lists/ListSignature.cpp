#include "lists/ListSignature.h"

#include <array>

#include "platform/Files.h"
#include "platform/Paths.h"

namespace velmar {
namespace {

// In the order they are looked for beside a list.

constexpr std::string_view ClearSignHeader = "-----BEGIN PGP SIGNED MESSAGE-----";
// How far into a list the header is looked for: far enough for a note
// before it, not a long list's whole text.
constexpr std::size_t ClearSignHeaderReach = 65536;

// A line of the list's start is the clearsign header.
bool IsClearSigned(const std::string& listPath) {
    InputFile file;
    if (!file.Open(listPath)) return false;
    std::string start(ClearSignHeaderReach, '\0');
    bool failed = false;
    start.resize(file.ReadFull(start.data(), start.size(), failed));
    for (std::size_t at = start.find(ClearSignHeader); at != std::string::npos;
         at = start.find(ClearSignHeader, at + 1))
        if (at == 0 || start[at - 1] == '\n') return true;
    return false;
}

std::string SignatureBeside(const std::string& listPath) {
    for (const std::string_view ending : DetachedSignatureEndings) {
        std::string path = listPath + std::string(ending);
        if (RegularFileSize(path)) return path;
    }
    return {};
}

ListSignature SignatureOf(const SignatureCheck& check) { return {.verdict = check.verdict, .words = SignatureWords(check)}; }

}  // namespace

bool IsSignatureFile(const std::string& path) {
    const std::string name = BaseNameOf(path);
    for (const std::string_view ending : DetachedSignatureEndings)
        if (NameEndsWith(name, ending)) return !IsClearSigned(path);
    return false;
}

std::string ListSignedBy(std::string_view signaturePath) {
    for (const std::string_view ending : DetachedSignatureEndings)
        if (NameEndsWith(signaturePath, ending)) return std::string(signaturePath.substr(0, signaturePath.size() - ending.size()));
    return std::string(signaturePath);
}

SignedList CheckListSignature(const std::string& listPath) {
    if (IsClearSigned(listPath)) {
        std::string signedText;
        const SignatureCheck check = CheckClearSigned(listPath, signedText);
        // A gpg that gave back no text at all leaves the file to be read as
        // it is rather than as a list of nothing.
        return {.text = signedText.empty() ? ListText(listPath) : ListText(listPath, std::move(signedText)),
                .signature = SignatureOf(check)};
    }
    const std::string signature = SignatureBeside(listPath);
    if (signature.empty()) return {.text = ListText(listPath), .signature = {}};
    return {.text = ListText(listPath), .signature = SignatureOf(CheckDetachedSignature(listPath, signature))};
}

ListText CheckedListText(JobFrame& frame, const std::string& listPath) {
    if (IsSignatureFile(listPath))
        frame.Fatal(JobFailure::NotAList, BaseNameOf(listPath) + " is a signature file, not a list: open " +
                                              BaseNameOf(ListSignedBy(listPath)) + ", and its signature is checked with it.");
    SignedList list = CheckListSignature(listPath);
    frame.NoteSignature(list.signature);
    frame.QuitCheck();
    if (list.signature.verdict == SignatureVerdict::Bad && !frame.Sink().Ask(Question::CheckBadlySignedList, 0))
        frame.Fatal(JobFailure::BadSignatureDeclined, list.signature.words + ": its files were not checked");
    return std::move(list.text);
}

std::string SignatureWords(const SignatureCheck& check) {
    switch (check.verdict) {
        case SignatureVerdict::None: break;
        case SignatureVerdict::Good:
            return "signed by " + (check.signer.empty() ? check.fingerprint : check.signer + " (" + check.fingerprint + ")");
        case SignatureVerdict::Bad: return "signature BAD";
        // The key ID in the place of the words' ID, where the signature names one.
        case SignatureVerdict::UnknownKey:
            return check.fingerprint.empty() ? "signed with unknown key" : "signed with unknown key " + check.fingerprint;
        case SignatureVerdict::Unchecked: return "signature unusable: " + check.problem;
    }
    return "";
}

}  // namespace velmar
