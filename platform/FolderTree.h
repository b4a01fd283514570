// The regular files below a folder, for a list of a whole tree. Knows no
// list format: it finds the files and says which folders it could not read.
#pragma once

#include <functional>
#include <string>

namespace velmar {

struct FolderTreeVisit {
    // A regular file, or a link to one, by its path below the walked folder
    // with '/' between folders.
    std::function<void(const std::string& name)> file;
    // A folder of the tree that could not be opened or read to its end, by
    // its full path. The walk goes on with the rest.
    std::function<void(const std::string& path)> unreadable;
    // Asked before each entry; true ends the walk there.
    std::function<bool()> stop;
    // How much of the tree is walked, 0 to 1: each folder's share split
    // evenly among its entries, so the figure only ever grows.
    std::function<void(double walked)> progress;
    // Sub-folders read ahead of the walk on a thread of their own, for
    // storage that need not be asked for one thing at a time.
    bool foldersAhead = false;
};

// Walks `folder` ("" is the root) depth first, each folder's entries in the
// byte order of their names, so that a subfolder's files come where its name
// falls: the names compare folder by folder. Hidden entries are walked like
// any other. A link to a file is a file; a link to a folder is not followed,
// so no tree loops; FIFOs, sockets, devices and links to them or to nothing
// are passed over, as reading them could block or find nothing. False when
// `stop` ended the walk.
bool WalkFolderTree(const std::string& folder, const FolderTreeVisit& visit);

}  // namespace velmar
