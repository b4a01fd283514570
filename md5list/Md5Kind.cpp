#include "md5list/Md5Kind.h"

#include "lists/SumLine.h"

namespace velmar {

// Its name never follows the folder's: the first filter offers the default
// name "md5sum" and names that begin with it.
const ListKind Md5Kind = SumToolKind({
    .menuCaption = "&MD5",
    .menuGroup = nullptr,
    .itemCaptions = {"&Create MD5", "&Verify MD5", "&Select Verify", "Create from &Folder..."},
    .itemKeys = {"F6", "F7", "F8", "Ctrl+F6"},
    .createLabel = "MD5 Filename",
    .firstName = "md5sum",
    .createTitle = "Create MD5: Select Files You Want to Add",
    .folderTitle = "Create MD5: Select Folder to Add",
    .verifyTitle = "Verify MD5: Select MD5 File to Verify",
    .verifyFilter = "MD5SUM (md5sum)|md5sum*|MD5 files (*.md5)|*.md5|All files (*.*)|*.*",
    .creationComplete = "MD5 file creation complete!",
    .algorithm = DigestAlgorithm::Md5,
    .bsdTag = "MD5",
    .opensslTag = nullptr,
    .sidecarExtension = ".md5",
    .listMessage = "Error Reading MD5 File.. Exiting",
});

}  // namespace velmar
