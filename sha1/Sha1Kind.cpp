#include "sha1/Sha1Kind.h"

#include "lists/SumLine.h"

namespace velmar {

// The kinds past the first four share the Other menu and take no keys.
const ListKind Sha1Kind = SumToolKind({
    .menuCaption = "SHA&1",
    .menuGroup = "&Other",
    .itemCaptions = {"&Create SHA1", "&Verify SHA1", "&Select Verify", "Create from &Folder..."},
    .itemKeys = {"", "", "", ""},
    .createLabel = "SHA1 Filename",
    .firstName = "SHA1SUMS",
    .createTitle = "Create SHA1: Select Files You Want to Add",
    .folderTitle = "Create SHA1: Select Folder to Add",
    .verifyTitle = "Verify SHA1: Select SHA1 File to Verify",
    .verifyFilter = "SHA1SUMS (SHA1SUMS*)|SHA1SUMS*|SHA1 files (*.sha1)|*.sha1|All files (*.*)|*.*",
    .creationComplete = "SHA1 file creation complete!",
    .algorithm = DigestAlgorithm::Sha1,
    .bsdTag = "SHA1",
    .opensslTag = nullptr,
    .sidecarExtension = ".sha1",
    .listMessage = "Error Reading SHA1 File.. Exiting",
});

}  // namespace velmar
