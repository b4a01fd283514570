#include "sha512/Sha512Kind.h"

#include "lists/SumLine.h"

namespace velmar {

// Its digits fit BLAKE2's as well: the registry tells the two apart.
const ListKind Sha512Kind = SumToolKind({
    .menuCaption = "SHA&512",
    .menuGroup = "&Other",
    .itemCaptions = {"&Create SHA512", "&Verify SHA512", "&Select Verify", "Create from &Folder..."},
    .itemKeys = {"", "", "", ""},
    .createLabel = "SHA512 Filename",
    .firstName = "SHA512SUMS",
    .createTitle = "Create SHA512: Select Files You Want to Add",
    .folderTitle = "Create SHA512: Select Folder to Add",
    .verifyTitle = "Verify SHA512: Select SHA512 File to Verify",
    .verifyFilter = "SHA512SUMS (SHA512SUMS*)|SHA512SUMS*|SHA512 files (*.sha512)|*.sha512|All files (*.*)|*.*",
    .creationComplete = "SHA512 file creation complete!",
    .algorithm = DigestAlgorithm::Sha512,
    .bsdTag = "SHA512",
    .opensslTag = "SHA2-512",
    .sidecarExtension = ".sha512",
    .listMessage = "Error Reading SHA512 File.. Exiting",
});

}  // namespace velmar
