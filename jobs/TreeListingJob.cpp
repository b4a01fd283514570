#include "jobs/TreeListingJob.h"

#include <memory>

#include "jobs/ProgressMeter.h"
#include "platform/FolderTree.h"
#include "platform/ReplacementFile.h"

namespace velmar {

std::string CannotReadFolderMessage(const std::string& path) { return "Cannot read folder '" + path + "'"; }

bool WalkListableTree(JobFrame& frame, const std::string& folder, const std::string& listName,
                      const std::function<void(const std::string& name)>& file, std::string& unreadable) {
    MainWindow& window = frame.Window();
    // The bar follows the share of the tree walked: the number of files is
    // known only at the end.
    const auto progress = std::make_shared<JobProgress>(ProgressScale);
    window.FollowProgress(progress);
    const bool walked = WalkFolderTree(
        folder, {.file =
                     [&](const std::string& name) {
                         // A list written before, or being written now, is no
                         // file of its own list.
                         if (name != listName && !IsReplacementNameOf(name, listName)) file(name);
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
                 }});
    window.FollowProgress(nullptr);
    window.SetProgressPosition(0);
    return walked;
}

void ListTree(JobFrame& frame, const std::string& folder, const std::string& listName) {
    MainWindow& window = frame.Window();
    MainWindowState& state = frame.State();
    state.Busy = 1;
    window.SetBusyCursor(true);
    std::string unreadable;
    int files = 0;
    const bool walked = WalkListableTree(
        frame, folder, listName,
        [&](const std::string& name) {
            window.AddRow(name, IconPending);
            ++files;
        },
        unreadable);

    if (!walked) return frame.EndCreation("");
    if (files == 0) {
        const std::string shown = folder.empty() ? "/" : folder;
        return frame.EndCreation(unreadable.empty() ? "No files found in folder '" + shown + "'"
                                                    : CannotReadFolderMessage(unreadable));
    }
    state.UnreadableFolder = unreadable;
    window.SetEdit1ReadOnly(false, EditBackground::Window);
    window.SetEnabled(Control::Button1, true);
    frame.Finish();
}

}  // namespace velmar
