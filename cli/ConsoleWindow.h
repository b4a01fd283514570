// The window of velmar-cli: the one window interface the jobs already use,
// answered from the command's options and shown on the terminal. Rows go to
// standard output in md5sum -c's words (or as JSON), the summary, messages
// and progress to standard error; dialogs are answered with the paths the
// command was given, questions by its options.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliOptions.h"
#include "jobs/MainWindow.h"
#include "jobs/RowStore.h"
#include "report/Report.h"

namespace velmar {

class ConsoleWindow : public MainWindow {
public:
    explicit ConsoleWindow(const CliOptions& options);
    ~ConsoleWindow() override;

    // What the next file or folder dialog answers, in order; a dialog with
    // nothing left to answer is cancelled.
    void AnswerDialog(std::vector<std::string> paths);
    // Rows are printed as they are marked when `streaming` (a verification
    // marks each once, in order); otherwise all at once by PrintRows, once
    // the job is over (an audit marks moved files again at its end).
    void BeginJob(bool streaming);
    // The rows not printed yet, then the summary on standard error.
    void EndJob();
    // The marks of the rows the last job left, as exit-status bits.
    int StatusBits() const;
    // The last message shown, "" for none.
    std::string LastMessage() const;

    void SetText(Control control, const std::string& text) override;
    std::string Text(Control control) override;
    void SetEdit1ReadOnly(bool, EditBackground) override {}
    void SetEnabled(Control, bool) override {}
    void SetVisible(Control, bool) override {}
    void SelectComboBox1Item(int) override {}
    CreationSetup ReadCreationSetup() override;

    void ClearRows() override;
    void AddRow(const std::string& name, StatusIcon icon) override;
    void SetRowIcon(int row, StatusIcon icon) override;
    void SetRowDetails(int row, const RowDetails& details) override;
    void SetRowText(int row, const std::string& text) override;
    void RemoveRows(const std::vector<int>& rows) override;
    std::string RowText(int row) override;
    void SetCheckedList(const std::string& listPath) override;
    int RowCount() override;
    std::vector<int> SelectedRows() override { return {}; }
    void DeselectRow(int) override {}
    void RepaintList() override {}

    void SetProgressRange(int, int) override {}
    void SetProgressPosition(int) override {}
    void FollowProgress(std::shared_ptr<const JobProgress> progress) override;
    void RepaintWindow() override {}

    void SetBusyCursor(bool) override {}
    std::optional<std::vector<std::string>> OpenFileDialog(const OpenFileRequest& request) override;
    std::optional<std::string> OpenFolderDialog(const std::string& title) override;
    MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) override;
    void LoadIcons() override {}

private:
    void PrintRow(std::string_view name, StatusIcon icon, const RowDetails& details);
    RowCounts Counts() const;
    // Writes to standard error, taking the progress line away first.
    void Say(const std::string& text);
    void StopProgress();
    // The progress line cleared from the terminal, if it is there; under the mutex.
    void TakeProgressAway();
    void ShowProgress(std::shared_ptr<const JobProgress> progress);

    const CliOptions& options_;
    mutable std::mutex mutex_;
    std::deque<std::vector<std::string>> dialogAnswers_;
    RowStore rows_;  // unless streaming
    std::string edit1_, label1_, lastMessage_, checkedList_;
    // While streaming, rows are marked once each, in order: what is kept is
    // only each name until its line is printed, end to end, and the count
    // of each mark, so that a list of a million rows costs little more
    // than its names.
    bool streaming_ = false;
    std::string names_;
    std::vector<std::uint32_t> nameEnds_;
    int printed_ = 0;
    RowCounts streamed_;
    RowDetails pending_;  // the details of the row being marked
    // The progress line, on a terminal.
    const bool progressShown_;
    std::thread progressThread_;
    std::condition_variable progressChanged_;
    bool progressEnds_ = false;
    bool progressOnScreen_ = false;
};

}  // namespace velmar
