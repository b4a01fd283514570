#include "sha256/Sha256Kind.h"

#include "lists/SumLine.h"

namespace velmar {

// F3 to F12 belong to the first three kinds; this one takes Shift with the
// keys of the MD5 kind it mirrors. Its modes follow theirs.
const ListKind Sha256Kind{
    "SHA&256",
    {"&Create SHA256", "&Verify SHA256", "&Select Verify"},
    {"Shift+F6", "Shift+F7", "Shift+F8"},
    JobModeValue{8},
    {JobModeValue{7},
     "SHA256 Filename",
     "SHA256SUMS",
     nullptr,
     false,
     CreateCommandKind::ComboBox::Disable,
     {"Create SHA256: Select Files You Want to Add",
      "CD Image (*.bin;*.iso;*.cue)|*.bin;*.iso;*.cue|All files (*.*)|*.*", 2, true}},
    {"Verify SHA256: Select SHA256 File to Verify",
     "SHA256SUMS (SHA256SUMS*)|SHA256SUMS*|SHA256 files (*.sha256)|*.sha256|All files (*.*)|*.*", 1, false},
    "SHA256 file creation complete!",
    DigestAlgorithm::Sha256,
    ReadSumListLineOf<64>,
    "Error Reading SHA256 File.. Exiting",
    "Error Reading SHA256 File.. Exiting",
    /*entriesRequired=*/true,
    /*loadSetsProgressRange=*/false,
    /*retryWithoutLeadingBlanks=*/false,
    /*readFailureIsFatal=*/true,
    nullptr,
    nullptr,
    SumEntryLines,
    nullptr,
};

}  // namespace velmar
