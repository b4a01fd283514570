#include "sha256/Sha256Kind.h"

#include "lists/SumLine.h"

namespace velmar {

// F3 to F12 belong to the first three kinds; this one takes Shift with the
// keys of the MD5 kind it mirrors.
const ListKind Sha256Kind = SumToolKind({
    .menuCaption = "SHA&256",
    .menuGroup = nullptr,
    .itemCaptions = {"&Create SHA256", "&Verify SHA256", "&Select Verify", "Create from &Folder..."},
    .itemKeys = {"Shift+F6", "Shift+F7", "Shift+F8", "Ctrl+Shift+F6"},
    .createLabel = "SHA256 Filename",
    .firstName = "SHA256SUMS",
    .createTitle = "Create SHA256: Select Files You Want to Add",
    .folderTitle = "Create SHA256: Select Folder to Add",
    .verifyTitle = "Verify SHA256: Select SHA256 File to Verify",
    .verifyFilter = "SHA256SUMS (SHA256SUMS*)|SHA256SUMS*|SHA256 files (*.sha256)|*.sha256|All files (*.*)|*.*",
    .creationComplete = "SHA256 file creation complete!",
    .algorithm = DigestAlgorithm::Sha256,
    .bsdTag = "SHA256",
    .opensslTag = "SHA2-256",
    .sidecarExtension = ".sha256",
    .listMessage = "Error Reading SHA256 File.. Exiting",
});

}  // namespace velmar
