// A list's OpenPGP signature, checked before any of its files is read: a
// detached one beside it (NAME.gpg, NAME.sig, NAME.sign or NAME.asc), or
// the list clearsigned, of which only the part the signature covers is
// read. A signature file is never read as a list.
#pragma once

#include <string>
#include <string_view>

#include "jobs/JobFrame.h"
#include "lists/ListText.h"
#include "platform/OpenPgpSignature.h"

namespace velmar {

// A detached signature: a file named NAME.gpg, .sig, .sign or .asc, letter
// case aside, that holds no clearsigned text (a clearsigned list may be
// named so too).
bool IsSignatureFile(const std::string& path);
// The list the signature file at `signaturePath` signs: its path less that ending.
std::string ListSignedBy(std::string_view signaturePath);

// A list as its signature leaves it.
struct SignedList {
    ListText text;            // what its entries are read from
    ListSignature signature;  // verdict None and no words for a list without one
};

// The check itself, for anyone about to read the list's entries. A list
// with no signature file beside it and no clearsign header in its first
// 64 KiB costs a few lookups and starts nothing.
SignedList CheckListSignature(const std::string& listPath);

// The step a job takes before it reads a list: a signature file refused
// (NotAList), the signature checked and noted in the frame for the summary
// and the result, and, when it is BAD, the question; a No ends the job
// (BadSignatureDeclined). The text to read the entries from.
ListText CheckedListText(JobFrame& frame, const std::string& listPath);

// What the status line, the summary and a report say of a signature:
// "signed by NAME <email> (FINGERPRINT)", "signature BAD", "signed with
// unknown key KEYID", "signature unusable: REASON"; "" for none.
std::string SignatureWords(const SignatureCheck& check);

}  // namespace velmar
