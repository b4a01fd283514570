// The frame every job runs in: how it starts, walks its rows, ends, honours
// a quit request and dies of a fatal error. The list kinds call these steps;
// none of them has its own copy.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "checksum/FileDigest.h"
#include "jobs/JobProgress.h"
#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"

namespace velmar {

// The fatal errors every kind shares; a list that cannot be used ends the
// program with its kind's own message instead.
enum class FatalError {
    ErrorReadingFile,     // "Error Reading File.. Exiting"
    ErrorWritingToFile,   // "Error writing to file"
};

const char* FatalMessage(FatalError error);

struct Tallies {
    int OkCount = 0;
    int BadCount = 0;
    int NaCount = 0;
    int NewCount = 0;
    int MovedCount = 0;
};

// The count a mark adds to; nothing for a pending row.
int* TallyOf(Tallies& tallies, StatusIcon icon);

// "OK:n  BAD:n  N/A:n"
std::string SummaryText(const Tallies& tallies);
// An audit's: "OK:n  BAD:n  N/A:n  NEW:n  MOVED:n"
std::string AuditSummaryText(const Tallies& tallies);

// A bad file left under its name, and why, as the end of a sentence.
struct RenameFailure {
    std::string path;
    std::string reason;
};

// Appends ".BAD" to each path, in order, never replacing an existing file;
// a rename that fails, or of a file outside `listDirectory`, is skipped and
// the next one still happens. Returns the ones skipped.
std::vector<RenameFailure> RenameBadFiles(const std::string& listDirectory, const std::vector<std::string>& paths);

// The one message that names every file not renamed, or "" for none.
std::string RenameFailuresMessage(const std::string& listDirectory, const std::vector<RenameFailure>& failures);

class JobFrame {
public:
    JobFrame(MainWindow& window, MainWindowState& state) : window_(window), state_(state) {}

    MainWindow& Window() { return window_; }
    MainWindowState& State() { return state_; }

    // What the quit check and a fatal error close before the end: the list
    // the job holds open. Cleared with nullptr.
    void HoldList(std::function<void()> close) { closeList_ = std::move(close); }

    // A verify job from the menu. Returns the chosen list, or nothing when
    // the user cancelled (the job then ends with the window left disabled).
    std::optional<std::string> StartMenuVerify(const OpenFileRequest& request);
    // The command-line and drop job.
    void StartCommandLineVerify();
    // A creation job over `rowCount` rows.
    void StartCreation(int rowCount);

    // The rows a verify job added, all pending, are about to be checked.
    void AddPendingRow(const std::string& name);
    // The job's rows, whose files are `sizeOf` each row in bytes, are about
    // to be checked: from now on the bar follows the bytes read of them all.
    void BeginRowWalk(FileSizeSum::SizeOfRow sizeOf);
    // Row `row` is handled; its icon is set, the progress moves on.
    void RowDone(int row, StatusIcon icon);
    // The same, with what the row's tooltip and a report tell of it.
    void RowDone(int row, StatusIcon icon, const RowDetails& details);
    // A row handled already marked anew, with a new text and details, its
    // tally moved with it.
    void ChangeRow(int row, StatusIcon icon, const std::string& text, const RowDetails& details);
    // Rows handled already taken out, `rows` in row order, their tallies
    // with them.
    void RemoveRows(const std::vector<int>& rows);
    // The bar back at 0, after a walk begun.
    void EndRowWalk();
    // What the engine reading the rows' files is to watch and count into.
    DigestWatch Watch();
    // A row handled that has no icon of the frame's own (a select-verify pass).
    void CountRowDone();
    int RowCount() const { return static_cast<int>(icons_.size()); }
    void SetRowCount(int rows);  // creation jobs walk rows they did not add

    // Summary, the rename question, the finish steps. `pathOfRow` gives
    // the file of a row for the rename; only files in `listDirectory` or
    // below it are renamed. A stopped walk shows the summary of the rows it
    // checked with "  (stopped)" and asks nothing.
    void EndVerify(const std::string& listDirectory, const std::function<std::string(int row)>& pathOfRow);
    // `summary` in Label1, with "  (stopped)" after it when the job was
    // stopped; true when it was not.
    bool ShowSummary(const std::string& summary);
    // `message` is the job's completion message; a stopped creation shows
    // none and leaves "Velmar  (stopped)" in Label1.
    void EndCreation(const std::string& message);

    // Ends the program if the user asked to quit.
    void QuitCheck();
    // True once the user asked to stop the job (File > Stop): a
    // verification or creation then ends its row walk where it is.
    bool StopCheck();
    // Cursor back, not busy, one last quit check.
    void Finish();
    // The message, the list closed, the end.
    [[noreturn]] void Fatal(FatalError error) { Fatal(FatalMessage(error)); }
    [[noreturn]] void Fatal(const std::string& message);

    const Tallies& Counts() const { return tallies_; }

private:
    // Closes the list held, ends the job's own threads, ends the program.
    [[noreturn]] void EndJobAndProgram();
    MainWindow& window_;
    MainWindowState& state_;
    std::function<void()> closeList_;
    std::vector<StatusIcon> icons_;
    Tallies tallies_;
    bool stopped_ = false;
    std::shared_ptr<JobProgress> progress_;  // during a row walk
    std::unique_ptr<FileSizeSum> sizes_;
};

// A row a select-verify pass checked: its new mark, and what it tells.
struct CheckedRow {
    CheckedRow(StatusIcon icon, RowDetails details = {}) : icon(icon), details(std::move(details)) {}
    StatusIcon icon;
    RowDetails details;
};

// What a select-verify pass checks with: a row's new icon, asked in row
// order, and what a quit or fatal end must close first (may be empty).
struct SelectedRowChecks {
    std::function<CheckedRow(int row)> check;
    std::function<void()> release;
};
// Called once with the selected rows, in row order, before the first check.
using SelectedRowsStart = std::function<SelectedRowChecks(JobFrame& frame, const std::vector<int>& rows)>;

// go! in a select-verify mode, run as a job. Rows that are not selected
// keep their icons; a stop leaves the rows not reached as they were.
void SelectVerifyPass(JobFrame& frame, const SelectedRowsStart& start);
void SelectVerifyPass(MainWindow& window, MainWindowState& state, const SelectedRowsStart& start);
void SelectVerifyPass(MainWindow& window, MainWindowState& state, const std::function<StatusIcon(int row)>& check);

}  // namespace velmar
