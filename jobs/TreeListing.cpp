#include "jobs/TreeListing.h"

#include <memory>

#include "checksum/FileReading.h"
#include "jobs/ProgressMeter.h"
#include "platform/FolderTree.h"
#include "platform/OpenPgpSignature.h"
#include "platform/ReplacementFile.h"

namespace velmar {

std::string CannotReadFolderMessage(const std::string& path) { return "Cannot read folder '" + path + "'"; }

std::string NothingToListMessage(const std::string& folder, const std::string& unreadable) {
    if (!unreadable.empty()) return CannotReadFolderMessage(unreadable);
    return "No files found in folder '" + (folder.empty() ? std::string("/") : folder) + "'";
}

bool WalkListableTree(JobFrame& frame, const std::string& folder, const std::string& listName,
                      const std::function<void(const std::string& name)>& file, std::string& unreadable) {
    // The bar follows the share of the tree walked: the number of files is
    // known only at the end.
    const auto progress = std::make_shared<JobProgress>(ProgressScale);
    frame.Sink().ProgressFollowed(progress);
    const bool walked = WalkFolderTree(
        folder, {.file =
                     [&](const std::string& name) {
                         // A list written before, or being written now, or its
                         // signature, is no file of its own list.
                         if (name != listName && !IsReplacementNameOf(name, listName) &&
                             !IsDetachedSignatureName(name, listName))
                             file(name);
                     },
                 .unreadable =
                     [&unreadable](const std::string& path) {
                         if (unreadable.empty()) unreadable = path;
                     },
                 .stop =
                     [&frame] {
                         frame.QuitCheck();
                         return frame.StopCheck();
                     },
                 .progress = [&progress](double share) {
                     progress->rowsDone = static_cast<int>(share * ProgressScale);
                 },
                 // Where the files will be read side by side, so may the folders.
                 .foldersAhead = !EngineOptionsFor(folder, frame.Control().engine).diskInTurn});
    frame.Sink().ProgressFollowed(nullptr);
    return walked;
}

void ListTree(JobFrame& frame, const std::string& folder, const std::string& listName) {
    std::string unreadable;
    if (WalkListableTree(frame, folder, listName, [&](const std::string& name) { frame.AddPendingRow(name); },
                         unreadable))
        frame.SetUnreadableFolder(unreadable);
}

}  // namespace velmar
