// The files that tie Velmar into a freedesktop.org desktop once it is
// installed, written from the list kinds' table so that every kind Velmar
// reads is declared, told by the same names its lists are told by, and
// opened by Velmar: the shared-MIME-info package and the desktop entry.
#pragma once

#include <string>
#include <vector>

namespace velmar {

// One <mime-type> for every kind that declares its type, a sub-class of
// text/plain, with the kind's name patterns as globs (a pattern two kinds
// share goes to the first, the lines tell them apart).
std::string MimePackageXml();

// velmar.desktop: Velmar verifying the lists it is given, every kind's type
// (a playlist's too), and actions to create a list of each kind on the menu
// bar and to check a download.
std::string DesktopEntry();

// The checksum lists a file manager offers "Verify Checksum List" on: the
// types Velmar declares (a playlist is most often just music), and the name
// patterns they are told by, for a file manager that matches names only.
std::vector<std::string> ChecksumListTypes();
std::vector<std::string> ChecksumListNames();

// `text` with every @VELMAR_CHECKSUM_LIST_TYPES@ replaced by the types, each
// ended by a semicolon, as the file managers' action formats list them.
std::string WithChecksumListTypes(std::string text);

}  // namespace velmar
