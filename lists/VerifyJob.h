// Verifying a list of any kind: every listed file checked, the tallies
// told, the bad files renamed on request.
#pragma once

#include <string>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"

namespace velmar {

// What becomes of a listed file that is not there.
enum class MissingFiles {
    Shown,    // its row, N/A
    Ignored,  // no row and no tally, as md5sum --ignore-missing has it
};

// Checks the list's signature (lists/ListSignature.h), reads the list, one
// pending row per entry, checks every row, tells the tallies and offers to
// rename the bad files. Each file is renamed under its name exactly as
// listed.
void VerifyList(JobFrame& frame, const ListKind& kind, const std::string& listPath, const std::string& listDirectory,
                ReadPurpose purpose, MissingFiles missing = MissingFiles::Shown);

// The same for the list at `listPath`, in its own folder.
void VerifyList(JobFrame& frame, const ListKind& kind, const std::string& listPath, ReadPurpose purpose,
                MissingFiles missing = MissingFiles::Shown);

}  // namespace velmar
