#include "app/Commands.h"

#include <vector>

#include "app/WindowJob.h"
#include "jobs/TreeListing.h"
#include "kinds/ListKinds.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"

namespace velmar {

namespace {

// What every Create command does before its dialog; false while Busy.
bool BeginCreateCommand(MainWindow& window, MainWindowState& state, GoMode mode) {
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
void ShowCreationControls(MainWindow& window, MainWindowState& state, const ListKind& kind, bool known) {
    const CreateTexts& texts = TextsOf(kind).create;
    window.ClearRows();
    state.UnreadableFolder.clear();
    window.SetText(Control::Label1, texts.label);
    window.SetEnabled(Control::CheckBox1, texts.winsfvOffered);
    switch (texts.comments) {
        case CreateTexts::CommentChoice::FileInfoOffered:
            window.SelectComboBox1Item(CommentModeFileInfo);
            window.SetEnabled(Control::ComboBox1, true);
            break;
        case CreateTexts::CommentChoice::NotOffered: window.SetEnabled(Control::ComboBox1, false); break;
        case CreateTexts::CommentChoice::OfferedAsLeft: window.SetEnabled(Control::ComboBox1, true); break;
    }
    window.SetText(Control::Edit1, kind.firstName);
    window.SetEdit1ReadOnly(!known, known ? EditBackground::Window : EditBackground::ButtonFace);
    window.SetEnabled(Control::Button1, known);
}

}  // namespace

namespace {

// The files chosen, as the rows of a list of `kind` to be written in the
// folder that holds them all.
void ShowChosenFiles(MainWindow& window, MainWindowState& state, const ListKind& kind,
                     const std::vector<std::string>& chosen) {
    ShowCreationControls(window, state, kind, true);
    FilesBelowFolder chosenFiles = CreationRowsOf(chosen);
    for (const std::string& name : chosenFiles.names) window.AddRow(name, IconPending);
    state.CreationDirectory = std::move(chosenFiles.folder);
    if (kind.folderExtension)
        window.SetText(Control::Edit1, ProposedListName(state.CreationDirectory, kind));
}

// The folder chosen, its tree listed by a job as the rows of a list of
// `kind` to be written in it.
void ListChosenFolder(MainWindow& window, MainWindowState& state, const ListKind& kind, std::string folder) {
    ShowCreationControls(window, state, kind, false);
    // "/music/" is the folder "/music", "/" the root, which is "" here.
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    const std::string listName = ProposedListName(folder, kind);
    window.SetText(Control::Edit1, listName);
    state.CreationDirectory = folder;
    window.SetBusyCursor(true);
    StartWindowJob(window, state, [folder, listName](JobFrame& frame) { ListTree(frame, folder, listName); },
                   {.ending = [&window, &state, folder](const JobResult& result) {
                       EndTreeListingInWindow(window, state, folder, result);
                   }});
}

}  // namespace

void RunCreateCommand(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    const GoMode mode{GoAction::Create, &kind};
    if (!BeginCreateCommand(window, state, mode)) return;
    auto chosen = window.OpenFileDialog(TextsOf(kind).create.dialog);
    if (!chosen || chosen->empty()) return;
    ShowChosenFiles(window, state, kind, *chosen);
}

void RunCreateFromFolderCommand(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    const GoMode mode{GoAction::Create, &kind};
    if (!BeginCreateCommand(window, state, mode)) return;
    auto chosen = window.OpenFolderDialog(TextsOf(kind).create.folderTitle);
    if (!chosen || chosen->empty()) return;
    ListChosenFolder(window, state, kind, std::move(*chosen));
}

const ListKind* AskListKind(MainWindow& window, MainWindowState& state) {
    std::vector<std::string> names;
    for (const ListKind* kind : ListKinds())
        if (KindShortName(*kind) != state.LastCreateKind) names.push_back(kind->name);
    if (const ListKind* last = KindByShortName(state.LastCreateKind)) names.insert(names.begin(), last->name);
    const auto chosen = window.ChooseListKind(names);
    if (!chosen) return nullptr;
    for (const ListKind* kind : ListKinds())
        if (*chosen == kind->name) {
            state.LastCreateKind = KindShortName(*kind);
            return kind;
        }
    return nullptr;
}

void RunGivenCreateCommand(MainWindow& window, MainWindowState& state, const ListKind* kind,
                           const std::vector<std::string>& paths) {
    if (state.Busy) return;
    if (!kind) kind = AskListKind(window, state);
    if (!kind) return;
    if (paths.empty()) return RunCreateCommand(window, state, *kind);
    if (!BeginCreateCommand(window, state, {GoAction::Create, kind})) return;
    std::vector<std::string> chosen;
    for (const std::string& path : paths) chosen.push_back(AbsolutePath(path));
    if (chosen.size() == 1 && IsFolder(chosen.front())) return ListChosenFolder(window, state, *kind, chosen.front());
    for (const std::string& path : chosen)
        if (IsFolder(path)) {
            window.MessageBox("'" + path + "' is a folder: choose files, or one folder alone", MessageButtons::Ok);
            return;
        }
    ShowChosenFiles(window, state, *kind, chosen);
}

void EndTreeListingInWindow(MainWindow& window, MainWindowState& state, const std::string& folder,
                            const JobResult& result) {
    if (result.end == JobEnd::Stopped) return EndCreationInWindow(window, result, "");
    if (result.rows == 0)
        return EndCreationInWindow(window, result, NothingToListMessage(folder, result.unreadableFolder));
    state.UnreadableFolder = result.unreadableFolder;
    window.SetEdit1ReadOnly(false, EditBackground::Window);
    window.SetEnabled(Control::Button1, true);
}

void EndCreationInWindow(MainWindow& window, const JobResult& result, const std::string& message) {
    const bool stopped = result.end == JobEnd::Stopped;
    if (!stopped && !message.empty()) window.MessageBox(message, MessageButtons::Ok);
    window.SetEdit1ReadOnly(true, EditBackground::ButtonFace);
    window.SetText(Control::Edit1, "");
    window.SetEnabled(Control::Edit1, true);
    window.ClearRows();
    window.SetText(Control::Label1, stopped ? "Velmar  (stopped)" : "Velmar");
    window.SelectComboBox1Item(CommentModeFileInfo);
    window.SetText(Control::Edit2, "");
    window.SetVisible(Control::Edit2, false);
}

namespace {

// The window made ready for a list to be checked, and the list chosen in
// `dialog`; go! stays open with `goEnabled`. Nothing when cancelled.
std::optional<std::string> ChooseList(MainWindow& window, const OpenFileRequest& dialog, bool goEnabled) {
    window.SetEdit1ReadOnly(true, EditBackground::ButtonFace);
    window.SetVisible(Control::Edit2, false);
    window.SetEnabled(Control::CheckBox1, false);
    window.SetEnabled(Control::ComboBox1, false);
    window.SetEnabled(Control::Button1, goEnabled);
    window.ClearRows();
    OpenFileRequest request = dialog;
    request.hidesSignatures = true;
    auto chosen = window.OpenFileDialog(request);
    if (!chosen || chosen->empty()) return std::nullopt;
    return chosen->front();
}

// "Verifying...", and the list's name in the name box.
void ShowListChosen(MainWindow& window, const std::string& path) {
    window.SetText(Control::Label1, "Verifying...");
    window.SetVisible(Control::Label1, true);
    window.SetText(Control::Edit1, BaseNameOf(path));
    window.LoadIcons();
}

}  // namespace

std::optional<std::string> RunSelectVerifyCommand(MainWindow& window, MainWindowState& state, GoMode mode,
                                                  const OpenFileRequest& dialog) {
    if (state.Busy) return std::nullopt;
    state.JobMode = mode;
    auto chosen = ChooseList(window, dialog, true);
    if (!chosen) return std::nullopt;
    const std::string& path = *chosen;
    ShowListChosen(window, path);
    state.ListDirectory = ListDirectoryOf(path);
    state.ListPath = path;
    return path;
}

std::optional<std::string> RunMenuVerifyCommand(MainWindow& window, MainWindowState& state,
                                                const OpenFileRequest& dialog) {
    if (state.Busy) return std::nullopt;
    state.JobMode = {};
    // Busy while the dialog is open, so that nothing else starts meanwhile.
    state.Busy = 1;
    state.StopRequested = 0;
    auto chosen = ChooseList(window, dialog, false);
    if (!chosen) {
        // A cancel gives the window back, and a close asked for meanwhile
        // now takes effect.
        state.Busy = 0;
        if (state.QuitRequested) EndProgram();
        return std::nullopt;
    }
    window.SetBusyCursor(true);
    ShowListChosen(window, *chosen);
    return chosen;
}

bool RunCommandLineVerifyCommand(MainWindow& window, MainWindowState& state) {
    if (state.Busy) return false;
    // The rows will belong to this list alone: go! must not take them for
    // the files of a prepared creation or the values of a loaded
    // select-verify list.
    state.JobMode = {};
    window.ClearRows();
    state.Busy = 1;
    window.SetBusyCursor(true);
    window.SetText(Control::Edit1, BaseNameOf(state.CommandLinePath));
    window.SetText(Control::Label1, "Verifying...");
    window.SetVisible(Control::Label1, true);
    window.LoadIcons();
    return true;
}

std::optional<CreationInputs> CreationMayStart(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    // Busy: the walk may still be writing it, and go! starts nothing anyway.
    if (!state.Busy && !state.UnreadableFolder.empty()) {
        window.MessageBox(CannotReadFolderMessage(state.UnreadableFolder), MessageButtons::Ok);
        return std::nullopt;
    }
    const CreationSetup setup = window.ReadCreationSetup();
    CreationInputs inputs{.rows = setup.rows,
                          .directory = state.CreationDirectory,
                          .listName = setup.edit1,
                          .commentMode = setup.comboBox1,
                          .oneLineComment = setup.edit2,
                          .commentFile = {},
                          .winsfv = setup.checkBox1};
    if (const std::string refusal = CreationRefusal(kind, inputs); !refusal.empty()) {
        window.MessageBox(refusal, MessageButtons::Ok);
        return std::nullopt;
    }
    if (PathExists(CreationListPath(inputs)) &&
        window.MessageBox(QuestionText(Question::OverwriteList), MessageButtons::YesNo) != MessageAnswer::Yes)
        return std::nullopt;
    if (state.Busy) return std::nullopt;
    return inputs;
}

bool SelectVerifyMayStart(const MainWindowState& state) { return !state.Busy; }

}  // namespace velmar
