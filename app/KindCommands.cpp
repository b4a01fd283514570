#include "app/KindCommands.h"

#include "app/Commands.h"
#include "app/WindowJob.h"
#include "kinds/ListKinds.h"
#include "lists/CreationJob.h"
#include "lists/ListReading.h"
#include "lists/ListSignature.h"
#include "lists/SelectVerify.h"
#include "lists/VerifyJob.h"
#include "platform/Paths.h"

namespace velmar {

void CreateCommand(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    RunCreateCommand(window, state, kind);
}

void CreateFromFolderCommand(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    RunCreateFromFolderCommand(window, state, kind);
}

void CreateGo(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    auto inputs = CreationMayStart(window, state, kind);
    if (!inputs) return;
    state.Busy = 1;
    state.StopRequested = 0;
    window.SetBusyCursor(true);
    window.SetEnabled(Control::Edit1, false);
    window.SetEnabled(Control::Button1, false);
    window.SetEnabled(Control::CheckBox1, false);
    window.SetEnabled(Control::ComboBox1, false);
    if (inputs->commentMode == CommentModeFile && kind.comments) {
        // A cancel writes no comment block.
        const auto chosen = window.OpenFileDialog({kind.comments->commentFileTitle, CommentFileFilter, 1, false});
        if (chosen && !chosen->empty()) inputs->commentFile = chosen->front();
    }
    StartWindowJob(
        window, state, [&kind, inputs = std::move(*inputs)](JobFrame& frame) { RunCreation(frame, kind, inputs); },
        {.ending = [&window, &kind](const JobResult& result) {
            EndCreationInWindow(window, result, TextsOf(kind).creationComplete);
        }});
}

void VerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    const auto path = RunMenuVerifyCommand(window, state, TextsOf(kind).verifyDialog);
    if (!path) return;
    StartWindowJob(window, state,
                   [&kind, path = *path](JobFrame& frame) { VerifyList(frame, kind, path, ReadPurpose::MenuVerify); });
}

void CommandLineVerifyCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf) {
    if (!RunCommandLineVerifyCommand(window, state)) return;
    StartWindowJob(window, state, [kindOf, path = state.CommandLinePath](JobFrame& frame) {
        VerifyList(frame, kindOf(path), path, ReadPurpose::CommandLineVerify);
    });
}

void CommandLineVerifyListsCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf,
                                   const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    state.CommandLinePath = paths.front();
    if (paths.size() == 1) return CommandLineVerifyCommand(window, state, kindOf);
    if (!RunCommandLineVerifyCommand(window, state)) return;
    std::vector<JobBody> bodies;
    for (const std::string& path : paths)
        bodies.push_back([kindOf, path](JobFrame& frame) {
            VerifyList(frame, kindOf(path), path, ReadPurpose::CommandLineVerify);
        });
    StartWindowJobsInTurn(
        window, state, std::move(bodies),
        [&window, paths](std::size_t i) {
            window.SetText(Control::Edit1, BaseNameOf(paths[i]));
            window.SetText(Control::Label1, "Verifying...");
        },
        [&window](const std::vector<JobResult>& results) {
            // Each list's own summary was shown as it ended; the last word
            // is theirs together.
            Tallies sum;
            for (const JobResult& result : results) {
                sum.OkCount += result.tallies.OkCount;
                sum.BadCount += result.tallies.BadCount;
                sum.NaCount += result.tallies.NaCount;
            }
            const bool stopped = !results.empty() && results.back().end == JobEnd::Stopped;
            window.SetText(Control::Label1, "LISTS:" + std::to_string(results.size()) + "  OK:" +
                                                std::to_string(sum.OkCount) + "  BAD:" + std::to_string(sum.BadCount) +
                                                "  N/A:" + std::to_string(sum.NaCount) + (stopped ? "  (stopped)" : ""));
        });
}

OpenFileRequest AuditDialog(AuditMode mode, const std::string& filter) {
    return {.title = mode == AuditMode::Audit ? "Audit: Select List File to Audit" : "Add New Files: Select List File",
            .filter = filter,
            .filterIndex = 1,
            .multiple = false};
}

void AuditCommand(MainWindow& window, MainWindowState& state, AuditMode mode, KindOfList kindOf,
                  const std::string& filter) {
    const auto path = RunMenuVerifyCommand(window, state, AuditDialog(mode, filter));
    if (!path) return;
    StartWindowJob(window, state,
                   [mode, kindOf, path = *path](JobFrame& frame) { AuditList(frame, mode, kindOf(path), path); });
}

void SelectVerifyCommand(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    const auto path = RunSelectVerifyCommand(window, state, {GoAction::SelectVerify, &kind}, TextsOf(kind).verifyDialog);
    if (!path) return;
    // The load runs on the UI thread while no job runs: a stop pressed as
    // the last job ended is for no job, and must not cut this list short.
    state.StopRequested = 0;
    state.ExpectedDigests.clear();
    state.LoadedSignature = {};
    int rows = 0;
    RunWindowJob(
        window, state,
        [&](JobFrame& frame) {
            const ListText text = CheckedListText(frame, *path);
            std::vector<std::string> names;
            rows = ReadListEntries(frame, kind, text, ReadPurpose::SelectVerify, state.ExpectedDigests, names);
        },
        {.ending = [&](const JobResult& result) {
            // Each pass tells it again with the list it checks.
            state.LoadedSignature = result.signature;
            if (!result.signature.words.empty())
                window.SetText(Control::Label1, WithSignature("Verifying...", result.signature.words));
        }});
    if (TextsOf(kind).loadSetsProgressRange) {
        window.SetProgressRange(0, rows);
        window.RepaintWindow();
    }
}

void SelectVerifyGo(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    if (!SelectVerifyMayStart(state)) return;
    state.Busy = 1;
    state.StopRequested = 0;
    window.RepaintWindow();
    SelectedRows selected{.listPath = state.ListPath, .listDirectory = state.ListDirectory, .rows = window.SelectedRows(),
                          .names = {}, .expected = {}, .signature = state.LoadedSignature};
    if (selected.rows.empty()) return FinishWindowJob(window, state);
    // The names are read here: the job never asks the window.
    for (int row : selected.rows) {
        selected.names.push_back(window.RowText(row));
        const auto slot = static_cast<std::size_t>(row);
        selected.expected.push_back(slot < state.ExpectedDigests.size() ? state.ExpectedDigests[slot] : std::string());
    }
    StartWindowJob(
        window, state,
        [&kind, selected = std::move(selected)](JobFrame& frame) { CheckSelectedRows(frame, kind, selected); },
        {.ending = {}, .deselectMarked = true});
}

}  // namespace velmar
