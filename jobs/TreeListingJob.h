// Create from Folder's walk of the tree, on a worker: the rows appear as the
// files are found, the bar moves, Stop ends the walk, and however many files
// the tree holds the window stays free.
#pragma once

#include <functional>
#include <string>

#include "jobs/FrameJob.h"
#include "jobs/JobFrame.h"

namespace velmar {

// "Cannot read folder '<path>'": go!'s refusal of a tree with a folder it
// could not read.
std::string CannotReadFolderMessage(const std::string& path);

// Gives `file` every file below `folder` that a list named `listName` in it
// may hold: WalkFolderTree's (platform/FolderTree.h), less the list and the
// file that would replace it. The bar follows the walk, the quit and stop
// checks run before each entry, and `unreadable` gets the first folder that
// could not be read. False when stopped.
bool WalkListableTree(JobFrame& frame, const std::string& folder, const std::string& listName,
                      const std::function<void(const std::string& name)>& file, std::string& unreadable);

// Adds a pending row for every file below `folder` (see WalkFolderTree in
// platform/FolderTree.h for which and in what order), leaving out the list
// named `listName` in the folder itself and the file that would replace it.
// A complete walk leaves Edit1 editable, go! enabled and the first folder
// it could not read in UnreadableFolder; a tree without a file to list says
// so and gives the window back; a stop leaves it as a stopped creation does.
void ListTree(JobFrame& frame, const std::string& folder, const std::string& listName);

class TreeListingJob : public FrameJob {
public:
    TreeListingJob(MainWindow& window, MainWindowState& state, std::string folder, std::string listName)
        : FrameJob(window, state), folder_(std::move(folder)), listName_(std::move(listName)) {}

protected:
    void Body(JobFrame& frame) override { ListTree(frame, folder_, listName_); }

private:
    std::string folder_;
    std::string listName_;
};

}  // namespace velmar
