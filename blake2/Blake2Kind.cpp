#include "blake2/Blake2Kind.h"

#include "lists/SumLine.h"

namespace velmar {

// b2sum's tag names the variant; its digits fit SHA512's as well.
const ListKind Blake2Kind = SumToolKind({
    .menuCaption = "&BLAKE2",
    .menuGroup = "&Other",
    .itemCaptions = {"&Create BLAKE2", "&Verify BLAKE2", "&Select Verify", "Create from &Folder..."},
    .itemKeys = {"", "", "", ""},
    .createLabel = "BLAKE2 Filename",
    .firstName = "B2SUMS",
    .createTitle = "Create BLAKE2: Select Files You Want to Add",
    .folderTitle = "Create BLAKE2: Select Folder to Add",
    .verifyTitle = "Verify BLAKE2: Select BLAKE2 File to Verify",
    .verifyFilter = "B2SUMS (B2SUMS*)|B2SUMS*|BLAKE2 files (*.b2)|*.b2|All files (*.*)|*.*",
    .creationComplete = "BLAKE2 file creation complete!",
    .algorithm = DigestAlgorithm::Blake2b,
    .bsdTag = "BLAKE2b",
    .opensslTag = "BLAKE2B-512",
    .sidecarExtension = ".b2",
    .listMessage = "Error Reading BLAKE2 File.. Exiting",
});

}  // namespace velmar
