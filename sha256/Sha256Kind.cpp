#include "sha256/Sha256Kind.h"

#include "lists/SumLine.h"

namespace velmar {

// F3 to F12 belong to the first three kinds; this one takes Shift with the
// keys of the MD5 kind it mirrors.
const ListKind Sha256Kind{
    .menuCaption = "SHA&256",
    .itemCaptions = {"&Create SHA256", "&Verify SHA256", "&Select Verify"},
    .itemKeys = {"Shift+F6", "Shift+F7", "Shift+F8"},
    .create = {.label = "SHA256 Filename",
               .firstName = "SHA256SUMS",
               .extension = nullptr,
               .checkBox1Enabled = false,
               .comboBox1 = CreateCommandKind::ComboBox::Disable,
               .dialog = {.title = "Create SHA256: Select Files You Want to Add",
                          .filter = "CD Image (*.bin;*.iso;*.cue)|*.bin;*.iso;*.cue|All files (*.*)|*.*",
                          .filterIndex = 2,
                          .multiple = true}},
    .verifyDialog = {.title = "Verify SHA256: Select SHA256 File to Verify",
                     .filter = "SHA256SUMS (SHA256SUMS*)|SHA256SUMS*|SHA256 files (*.sha256)|*.sha256|All files (*.*)|*.*",
                     .filterIndex = 1,
                     .multiple = false},
    .creationComplete = "SHA256 file creation complete!",
    .algorithm = DigestAlgorithm::Sha256,
    .readLine = ReadSumListLine,
    .bsdTag = "SHA256",
    .listMissingMessage = "Error Reading SHA256 File.. Exiting",
    .listUnusableMessage = "Error Reading SHA256 File.. Exiting",
    .entriesRequired = true,
    .loadSetsProgressRange = false,
    .retryWithoutLeadingBlanks = false,
    .readFailureIsFatal = true,
    .header = nullptr,
    .comments = nullptr,
    .entryLines = SumEntryLines,
    .nameUnfit = nullptr,
};

}  // namespace velmar
