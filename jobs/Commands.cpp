#include "jobs/Commands.h"

#include <algorithm>
#include <strings.h>
#include <unordered_set>
#include <vector>

#include "jobs/TreeListingJob.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace velmar {

std::string ProposedListName(const std::string& directory, const char* firstName, const char* extension) {
    // Files chosen in the root give an empty folder text: keep the default.
    if (!extension || directory.empty()) return firstName;
    return BaseNameOf(directory) + extension;
}

namespace {

// What every Create command does before its dialog; false while Busy.
bool BeginCreateCommand(MainWindow& window, MainWindowState& state, JobModeValue mode) {
    if (state.Busy) return false;
    window.LoadIcons();
    window.SetText(Control::Label1, "Velmar");
    state.JobMode = mode;
    window.SetVisible(Control::Edit2, false);
    return true;
}

// Once the dialog has chosen: the old rows gone, the kind's label, boxes and
// first name shown, and Edit1 and go! open when the rows are `known`; rows
// still to come leave nothing to name or start.
void ShowCreationControls(MainWindow& window, MainWindowState& state, const CreateCommandKind& kind, bool known) {
    window.ClearRows();
    state.UnreadableFolder.clear();
    window.SetText(Control::Label1, kind.label);
    window.SetEnabled(Control::CheckBox1, kind.checkBox1Enabled);
    switch (kind.comboBox1) {
        case CreateCommandKind::ComboBox::SelectDefaultAndEnable:
            window.SelectComboBox1Item(2);
            window.SetEnabled(Control::ComboBox1, true);
            break;
        case CreateCommandKind::ComboBox::Disable: window.SetEnabled(Control::ComboBox1, false); break;
        case CreateCommandKind::ComboBox::EnableKeepSelection: window.SetEnabled(Control::ComboBox1, true); break;
    }
    window.SetText(Control::Edit1, kind.firstName);
    window.SetEdit1ReadOnly(!known, known ? EditBackground::Window : EditBackground::ButtonFace);
    window.SetEnabled(Control::Button1, known);
}

}  // namespace

void RunCreateCommand(MainWindow& window, MainWindowState& state, const CreateCommandKind& kind, JobModeValue mode) {
    if (!BeginCreateCommand(window, state, mode)) return;
    auto chosen = window.OpenFileDialog(kind.dialog);
    if (!chosen || chosen->empty()) return;

    ShowCreationControls(window, state, kind, true);

    // Files chosen from several folders (names typed with their folders into
    // the dialog) are listed by their paths below the folder that holds them
    // all, and the list goes there.
    FilesBelowFolder chosenFiles = CommonFolderOf(*chosen);
    std::vector<std::string> names;
    names.reserve(chosenFiles.names.size());
    // A file typed twice is still one file of the list.
    std::unordered_set<std::string_view> seen;
    for (const std::string& name : chosenFiles.names)
        if (seen.insert(name).second) names.push_back(name);
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return ::strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    for (const std::string& name : names) window.AddRow(name, IconPending);

    state.CreationDirectory = std::move(chosenFiles.folder);
    if (kind.extension)
        window.SetText(Control::Edit1, ProposedListName(state.CreationDirectory, kind.firstName, kind.extension));
}

void RunCreateFromFolderCommand(MainWindow& window, MainWindowState& state, const CreateCommandKind& kind,
                                JobModeValue mode) {
    if (!BeginCreateCommand(window, state, mode)) return;
    auto chosen = window.OpenFolderDialog(kind.folderTitle);
    if (!chosen || chosen->empty()) return;

    ShowCreationControls(window, state, kind, false);
    // "/music/" is the folder "/music", "/" the root, which is "" here.
    std::string folder = std::move(*chosen);
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    const std::string listName = ProposedListName(folder, kind.firstName, kind.extension);
    window.SetText(Control::Edit1, listName);
    state.CreationDirectory = folder;
    LaunchJob<TreeListingJob>(window, state, folder, listName);
}

std::optional<std::string> RunSelectVerifyCommand(MainWindow& window, MainWindowState& state, JobModeValue mode,
                                                  const OpenFileRequest& dialog) {
    if (state.Busy) return std::nullopt;
    state.JobMode = mode;
    window.SetEdit1ReadOnly(true, EditBackground::ButtonFace);
    window.SetVisible(Control::Edit2, false);
    window.SetEnabled(Control::CheckBox1, false);
    window.SetEnabled(Control::ComboBox1, false);
    window.SetEnabled(Control::Button1, true);
    window.ClearRows();

    auto chosen = window.OpenFileDialog(dialog);
    if (!chosen || chosen->empty()) return std::nullopt;
    const std::string& path = chosen->front();
    window.SetText(Control::Label1, "Verifying...");
    window.SetVisible(Control::Label1, true);
    window.SetText(Control::Edit1, BaseNameOf(path));
    window.LoadIcons();
    state.ListDirectory = ListDirectoryOf(path);
    state.ListPath = path;
    return path;
}

std::string CreationListPath(const MainWindowState& state, const std::string& edit1) {
    return ListedFilePath(state.CreationDirectory, edit1);
}

bool CreationMayStart(MainWindow& window, MainWindowState& state,
                      const std::function<std::string(std::string_view row)>& refusal) {
    // Busy: the walk may still be writing it, and go! starts nothing anyway.
    if (!state.Busy && !state.UnreadableFolder.empty()) {
        window.MessageBox(CannotReadFolderMessage(state.UnreadableFolder), MessageButtons::Ok);
        return false;
    }
    const std::string name = window.Text(Control::Edit1);
    const int rows = window.RowCount();
    for (int row = 0; row < rows; ++row) {
        const std::string text = window.RowText(row);
        const std::string message = text == name ? "Cannot add 'self' to file." : refusal(text);
        if (!message.empty()) {
            window.MessageBox(message, MessageButtons::Ok);
            return false;
        }
    }
    if (PathExists(CreationListPath(state, name)) &&
        window.MessageBox("File Exists. Overwrite?", MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    return !state.Busy;
}

bool SelectVerifyMayStart(const MainWindowState& state) { return !state.Busy; }

}  // namespace velmar
