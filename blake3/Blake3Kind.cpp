#include "blake3/Blake3Kind.h"

#include "lists/SumLine.h"

namespace velmar {

namespace {

// b3sum reads the escapes of a backslash and a line feed but not md5sum's
// of a carriage return, and refuses the whole list over one; nor does it
// take a CR LF line end.
const char* NameUnfit(std::string_view name) {
    return name.find('\r') != std::string_view::npos
               ? "a BLAKE3 list has no way to write a carriage return in a name that b3sum reads"
               : nullptr;
}

}  // namespace

// b3sum writes no BSD tag; its digits fit SHA256's as well.
const ListKind Blake3Kind = SumToolKind({
    .menuCaption = "BLAKE&3",
    .menuGroup = "&Other",
    .itemCaptions = {"&Create BLAKE3", "&Verify BLAKE3", "&Select Verify", "Create from &Folder..."},
    .itemKeys = {"", "", "", ""},
    .createLabel = "BLAKE3 Filename",
    .firstName = "B3SUMS",
    .createTitle = "Create BLAKE3: Select Files You Want to Add",
    .folderTitle = "Create BLAKE3: Select Folder to Add",
    .verifyTitle = "Verify BLAKE3: Select BLAKE3 File to Verify",
    .verifyFilter = "B3SUMS (B3SUMS*)|B3SUMS*|BLAKE3 files (*.b3)|*.b3|All files (*.*)|*.*",
    .creationComplete = "BLAKE3 file creation complete!",
    .algorithm = DigestAlgorithm::Blake3,
    .bsdTag = nullptr,
    .opensslTag = nullptr,
    .sidecarExtension = ".b3",
    .listMessage = "Error Reading BLAKE3 File.. Exiting",
    .nameUnfit = NameUnfit,
    .lineEnd = LineEnd::Lf,
});

}  // namespace velmar
