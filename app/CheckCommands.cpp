#include "app/CheckCommands.h"

#include <optional>

#include "app/Commands.h"
#include "app/WindowJob.h"
#include "checksum/PastedDigest.h"
#include "kinds/ListKinds.h"
#include "lists/FileCheck.h"
#include "lists/LibraryJob.h"
#include "lists/VerifyJob.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace velmar {
namespace {

// The window made ready for a check's rows and shown busy, then `body` run
// as a job. A check ends no program: a list it cannot read is only told.
void StartCheck(MainWindow& window, MainWindowState& state, JobBody body) {
    state.JobMode = {};
    window.ClearRows();
    window.SetEnabled(Control::Button1, false);
    window.SetVisible(Control::Edit2, false);
    window.SetText(Control::Label1, "Checking...");
    window.LoadIcons();
    window.SetBusyCursor(true);
    StartWindowJob(window, state, std::move(body), {.failureEndsProgram = false});
}

}  // namespace

void CheckFileCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf, const FileCheckRequest& given) {
    if (state.Busy) return;
    const auto request = window.CheckFileDialog(given);
    if (!request || request->file.empty()) return;
    const std::string& text = request->digestOrList;
    std::optional<PastedDigest> digest;
    if (!text.empty()) {
        digest = ParsePastedDigest(text);
        if (!digest && !RegularFileSize(text)) {
            window.MessageBox("'" + text + "' is neither a digest nor a list", MessageButtons::Ok);
            return;
        }
    }
    StartCheck(window, state, [file = request->file, list = digest ? std::string() : text, digest, kindOf](
                                  JobFrame& frame) {
        if (!list.empty()) CheckFileAgainstList(frame, file, kindOf(list), list);
        else CheckFile(frame, file, digest ? &*digest : nullptr);
    });
}

void CompareFilesCommand(MainWindow& window, MainWindowState& state) {
    if (state.Busy) return;
    const auto files = window.CompareFilesDialog();
    if (!files) return;
    StartCheck(window, state, [files = *files](JobFrame& frame) { CompareFiles(frame, files[0], files[1]); });
}

void VerifyFolderCommand(MainWindow& window, MainWindowState& state, const std::string& given) {
    if (state.Busy) return;
    std::string folder = given;
    if (folder.empty()) {
        const auto chosen = window.OpenFolderDialog("Verify All Lists in Folder: Select Folder");
        if (!chosen || chosen->empty()) return;
        folder = *chosen;
    }
    folder = AbsolutePath(folder);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    state.JobMode = {};
    window.ClearRows();
    window.SetEdit1ReadOnly(true, EditBackground::ButtonFace);
    window.SetEnabled(Control::Button1, false);
    window.SetVisible(Control::Edit2, false);
    window.SetText(Control::Edit1, BaseNameOf(folder));
    window.SetText(Control::Label1, "Verifying...");
    window.LoadIcons();
    window.SetBusyCursor(true);
    StartWindowJob(window, state, [folder](JobFrame& frame) {
        VerifyLibrary(frame, folder, {.isListName = IsListName, .kindOf = ListKindOf});
    }, {.failureEndsProgram = false});
}

void VerifyAnyListCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf, const std::string& filter) {
    const auto path = RunMenuVerifyCommand(
        window, state, {.title = "Verify Any List: Select List File to Verify", .filter = filter, .filterIndex = 1,
                        .multiple = false});
    if (!path) return;
    StartWindowJob(window, state, [kindOf, path = *path](JobFrame& frame) {
        VerifyList(frame, kindOf(path), path, ReadPurpose::CommandLineVerify);
    });
}

}  // namespace velmar
