#include "jobs/JobFrame.h"

#include <cerrno>
#include <cstring>

#include "jobs/RowRemoval.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"

namespace velmar {

namespace {
// What a stopped job's last Label1 text ends in.
constexpr const char* StoppedMark = "  (stopped)";
}  // namespace

const char* FatalMessage(FatalError error) {
    switch (error) {
        case FatalError::ErrorReadingFile: return "Error Reading File.. Exiting";
        case FatalError::ErrorWritingToFile: return "Error writing to file";
    }
    return "";
}

std::string SummaryText(const Tallies& t) {
    return "OK:" + std::to_string(t.OkCount) + "  BAD:" + std::to_string(t.BadCount) +
           "  N/A:" + std::to_string(t.NaCount);
}

std::string AuditSummaryText(const Tallies& t) {
    return SummaryText(t) + "  NEW:" + std::to_string(t.NewCount) + "  MOVED:" + std::to_string(t.MovedCount);
}

int* TallyOf(Tallies& tallies, StatusIcon icon) {
    switch (icon) {
        case IconOk: return &tallies.OkCount;
        case IconBad: return &tallies.BadCount;
        case IconNA: return &tallies.NaCount;
        case IconNew: return &tallies.NewCount;
        case IconMoved: return &tallies.MovedCount;
        case IconPending: break;
    }
    return nullptr;
}

std::vector<RenameFailure> RenameBadFiles(const std::string& listDirectory, const std::vector<std::string>& paths) {
    // A list's names come from whoever made the list: a name that climbs out
    // of its folder ("..\\..\\.bashrc", a linked folder) may be read, but a
    // Yes must never rename a file outside it. Such a row is skipped like a
    // rename that fails.
    const FolderBound folder(listDirectory);
    std::vector<RenameFailure> failures;
    for (const std::string& path : paths) {
        if (!folder.Holds(path)) {
            failures.push_back({path, "it lies outside the list's folder"});
            continue;
        }
        if (RenameNoReplace(path, path + ".BAD")) continue;
        const int error = errno;
        failures.push_back({path, error == EEXIST || error == ENOTEMPTY ? "a file named " + BaseNameOf(path) + ".BAD is there already"
                                  : error == ENAMETOOLONG              ? "its name is too long to take \".BAD\""
                                                                       : SystemErrorText(error)});
    }
    return failures;
}

std::string RenameFailuresMessage(const std::string& listDirectory, const std::vector<RenameFailure>& failures) {
    if (failures.empty()) return "";
    // A message box holds some lines, not thousands.
    constexpr std::size_t Shown = 20;
    std::string message = failures.size() == 1 ? "1 bad file was not renamed:"
                                               : std::to_string(failures.size()) + " bad files were not renamed:";
    for (std::size_t i = 0; i < failures.size() && i < Shown; ++i) {
        const auto below = PathBelowFolder(listDirectory, failures[i].path);
        message += "\n" + below.value_or(failures[i].path) + ": " + failures[i].reason;
    }
    if (failures.size() > Shown) message += "\nand " + std::to_string(failures.size() - Shown) + " more";
    return message;
}

std::optional<std::string> JobFrame::StartMenuVerify(const OpenFileRequest& request) {
    window_.SetEdit1ReadOnly(true, EditBackground::ButtonFace);
    window_.SetVisible(Control::Edit2, false);
    window_.SetEnabled(Control::CheckBox1, false);
    window_.SetEnabled(Control::ComboBox1, false);
    window_.SetEnabled(Control::Button1, false);
    window_.ClearRows();

    auto chosen = window_.OpenFileDialog(request);
    if (!chosen || chosen->empty()) {
        // The command marked the window busy so that nothing else starts
        // while the dialog is open; a cancel gives the window back, and a
        // close asked for meanwhile now takes effect.
        state_.Busy = 0;
        QuitCheck();
        return std::nullopt;
    }

    state_.Busy = 1;
    window_.SetBusyCursor(true);
    window_.SetText(Control::Label1, "Verifying...");
    window_.SetVisible(Control::Label1, true);
    window_.SetText(Control::Edit1, BaseNameOf(chosen->front()));
    window_.LoadIcons();
    return chosen->front();
}

void JobFrame::StartCommandLineVerify() {
    state_.Busy = 1;
    window_.SetBusyCursor(true);
    window_.SetText(Control::Edit1, BaseNameOf(state_.CommandLinePath));
    window_.SetText(Control::Label1, "Verifying...");
    window_.SetVisible(Control::Label1, true);
    window_.LoadIcons();
}

void JobFrame::StartCreation(int rowCount) {
    state_.Busy = 1;
    window_.SetBusyCursor(true);
    window_.SetEnabled(Control::Edit1, false);
    window_.SetEnabled(Control::Button1, false);
    window_.SetEnabled(Control::CheckBox1, false);
    window_.SetEnabled(Control::ComboBox1, false);
    SetRowCount(rowCount);
}

void JobFrame::AddPendingRow(const std::string& name) {
    window_.AddRow(name, IconPending);
    icons_.push_back(IconPending);
}

void JobFrame::SetRowCount(int rows) { icons_.assign(static_cast<std::size_t>(rows), IconPending); }

void JobFrame::BeginRowWalk(FileSizeSum::SizeOfRow sizeOf) {
    progress_ = std::make_shared<JobProgress>(RowCount());
    sizes_ = std::make_unique<FileSizeSum>(*progress_, RowCount(), std::move(sizeOf));
    window_.FollowProgress(progress_);
    window_.RepaintWindow();
}

DigestWatch JobFrame::Watch() { return {&state_.StopRequested, progress_ ? &progress_->bytesDone : nullptr}; }

void JobFrame::CountRowDone() {
    if (progress_) ++progress_->rowsDone;
}

void JobFrame::RowDone(int row, StatusIcon icon) {
    icons_[static_cast<std::size_t>(row)] = icon;
    if (int* tally = TallyOf(tallies_, icon)) ++*tally;
    window_.SetRowIcon(row, icon);
    CountRowDone();
    window_.RepaintList();
}

void JobFrame::RowDone(int row, StatusIcon icon, const RowDetails& details) {
    window_.SetRowDetails(row, details);
    RowDone(row, icon);
}

void JobFrame::ChangeRow(int row, StatusIcon icon, const std::string& text, const RowDetails& details) {
    StatusIcon& was = icons_[static_cast<std::size_t>(row)];
    if (int* tally = TallyOf(tallies_, was)) --*tally;
    if (int* tally = TallyOf(tallies_, icon)) ++*tally;
    was = icon;
    window_.SetRowText(row, text);
    window_.SetRowDetails(row, details);
    window_.SetRowIcon(row, icon);
}

void JobFrame::RemoveRows(const std::vector<int>& rows) {
    if (rows.empty()) return;
    for (int row : rows)
        if (int* tally = TallyOf(tallies_, icons_[static_cast<std::size_t>(row)])) --*tally;
    RemoveRowsAt(icons_, rows);
    window_.RemoveRows(rows);
    window_.RepaintList();
}

bool JobFrame::ShowSummary(const std::string& summary) {
    window_.SetText(Control::Label1, stopped_ ? summary + StoppedMark : summary);
    return !stopped_;
}

void JobFrame::EndRowWalk() {
    if (!progress_) return;
    sizes_.reset();
    progress_.reset();
    window_.FollowProgress(nullptr);
    window_.SetProgressPosition(0);
}

void JobFrame::EndVerify(const std::string& listDirectory, const std::function<std::string(int row)>& pathOfRow) {
    if (!ShowSummary(SummaryText(tallies_))) {
        Finish();
        return;
    }
    if (tallies_.BadCount > 0 &&
        window_.MessageBox("Rename Bad Files?", MessageButtons::YesNo) == MessageAnswer::Yes) {
        std::vector<std::string> bad;
        for (int row = 0; row < RowCount(); ++row)
            if (icons_[static_cast<std::size_t>(row)] == IconBad) bad.push_back(pathOfRow(row));
        const std::string refused = RenameFailuresMessage(listDirectory, RenameBadFiles(listDirectory, bad));
        if (!refused.empty()) window_.MessageBox(refused, MessageButtons::Ok);
    }
    Finish();
}

void JobFrame::EndCreation(const std::string& message) {
    if (closeList_) {
        auto close = std::move(closeList_);
        closeList_ = nullptr;
        close();
    }
    if (!stopped_) window_.MessageBox(message, MessageButtons::Ok);
    window_.SetEdit1ReadOnly(true, EditBackground::ButtonFace);
    window_.SetText(Control::Edit1, "");
    window_.SetEnabled(Control::Edit1, true);
    window_.ClearRows();
    window_.SetText(Control::Label1, stopped_ ? std::string("Velmar") + StoppedMark : "Velmar");
    window_.SelectComboBox1Item(2);
    window_.SetText(Control::Edit2, "");
    window_.SetVisible(Control::Edit2, false);
    Finish();
}

void JobFrame::QuitCheck() {
    if (state_.QuitRequested) EndJobAndProgram();
}

void JobFrame::EndJobAndProgram() {
    if (closeList_) closeList_();
    // The sizing thread looks at the job's rows; it ends before they go,
    // whoever ends the program and however.
    sizes_.reset();
    EndProgram();
}

bool JobFrame::StopCheck() {
    if (state_.StopRequested) stopped_ = true;
    return stopped_;
}

void JobFrame::Finish() {
    window_.SetBusyCursor(false);
    // A stop asked for now is for no job; the next one starts afresh.
    state_.StopRequested = 0;
    state_.Busy = 0;
    QuitCheck();
}

void JobFrame::Fatal(const std::string& message) {
    window_.MessageBox(message, MessageButtons::Ok);
    EndJobAndProgram();
}

void SelectVerifyPass(JobFrame& frame, const SelectedRowsStart& start) {
    MainWindow& window = frame.Window();
    frame.State().Busy = 1;
    window.RepaintWindow();
    const std::vector<int> rows = window.SelectedRows();
    if (!rows.empty()) {
        SelectedRowChecks checks = start(frame, rows);
        if (checks.release) frame.HoldList(checks.release);
        for (int row : rows) {
            window.DeselectRow(row);
            frame.QuitCheck();
            if (frame.StopCheck()) break;
            const CheckedRow checked = checks.check(row);
            // A file stopped part way keeps the mark it had.
            if (frame.StopCheck()) break;
            window.SetRowDetails(row, checked.details);
            window.SetRowIcon(row, checked.icon);
            frame.CountRowDone();
            window.RepaintList();
        }
        frame.HoldList(nullptr);
        // Nothing reads or counts any more once the walk ends.
        if (checks.release) checks.release();
        frame.EndRowWalk();
    }
    frame.Finish();
}

void SelectVerifyPass(MainWindow& window, MainWindowState& state, const SelectedRowsStart& start) {
    JobFrame frame(window, state);
    SelectVerifyPass(frame, start);
}

void SelectVerifyPass(MainWindow& window, MainWindowState& state, const std::function<StatusIcon(int row)>& check) {
    SelectVerifyPass(window, state, [&](JobFrame&, const std::vector<int>&) { return SelectedRowChecks{check, {}}; });
}

}  // namespace velmar
