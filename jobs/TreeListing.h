// Create from Folder's walk of the tree, as a job: the rows are told as the
// files are found, the progress moves, Stop ends the walk, and however many
// files the tree holds the shell stays free.
#pragma once

#include <functional>
#include <string>

#include "jobs/JobFrame.h"

namespace velmar {

// "Cannot read folder '<path>'": the refusal of a tree with a folder that
// could not be read.
std::string CannotReadFolderMessage(const std::string& path);

// What a walk that found no file to list says: the folder it could not
// read, or "No files found in folder '<folder>'".
std::string NothingToListMessage(const std::string& folder, const std::string& unreadable);

// Gives `file` every file below `folder` that a list named `listName` in it
// may hold: WalkFolderTree's (platform/FolderTree.h), less the list and the
// file that would replace it. The progress follows the walk, the quit and
// stop checks run before each entry, and `unreadable` gets the first folder
// that could not be read. False when stopped.
bool WalkListableTree(JobFrame& frame, const std::string& folder, const std::string& listName,
                      const std::function<void(const std::string& name)>& file, std::string& unreadable);

// Adds a pending row for every file below `folder` (see WalkFolderTree in
// platform/FolderTree.h for which and in what order), leaving out the list
// named `listName` in the folder itself and the file that would replace it.
// The result names the first folder that could not be read; a stopped walk
// ends as stopped.
void ListTree(JobFrame& frame, const std::string& folder, const std::string& listName);

}  // namespace velmar
