// The window's side of a job: the sink that turns the job's events into
// window operations, and the runner that starts a job on a worker thread of
// its own and, once it has ended, does what the window does at a job's end:
// the message of a failure and the end of the program, the end of a quit,
// or the job's own closing steps, then the cursor back and Busy cleared.
#pragma once

#include <functional>

#include "app/MainWindow.h"
#include "app/MainWindowState.h"
#include "app/RowBatcher.h"
#include "jobs/JobFrame.h"

namespace velmar {

// Rows and marks reach the window in batches, as many at a time as the
// window takes from this thread; everything else first hands over the rows
// before it.
class WindowSink : public JobSink {
public:
    // With `deselectMarked`, each row marked is also deselected (a
    // select-verify pass over the selected rows).
    // The job's row i is the window's row `firstRow` + i.
    explicit WindowSink(MainWindow& window, bool deselectMarked = false, int firstRow = 0);

    // Hands over the rows gathered (the job's end does).
    void Flush() { rows_.Flush(); }

    void RowAdded(std::string_view name) override;
    void RowMarked(int row, StatusIcon icon, const RowDetails* details) override;
    void RowChanged(int row, StatusIcon icon, std::string_view text, const RowDetails& details) override;
    void RowRenamed(int row, const std::string& path) override;
    void RowsRemoved(const std::vector<int>& rows) override;
    void ListChecked(const std::string& listPath, const std::string& signature) override;
    void ProgressFollowed(std::shared_ptr<const JobProgress> progress) override;
    void Summary(const std::string& text) override;
    bool Ask(Question question, int count) override;
    void Told(const std::string& message) override;

private:
    MainWindow& window_;
    bool deselectMarked_;
    int firstRow_;
    RowBatcher rows_;
};

using JobBody = std::function<void(JobFrame& frame)>;
// The window's steps once a job has ended without failing or quitting, on
// the job's thread, before the cursor comes back and Busy clears.
using JobEnding = std::function<void(const JobResult& result)>;

struct WindowJobOptions {
    JobEnding ending = {};
    bool deselectMarked = false;  // see WindowSink
    // A failure's message is shown, then the program ends; a check that
    // fails only tells it.
    bool failureEndsProgram = true;
};

// Runs `body` on a worker thread of its own, reporting to `window`. Busy is
// set before it returns, so that no second command starts in between.
void StartWindowJob(MainWindow& window, MainWindowState& state, JobBody body, WindowJobOptions options = {});

// Runs `bodies` one after another on one worker thread, as one job for the
// window: each one's rows after the rows before it, `beforeEach(i)` on that
// thread before body i, a failure's message shown and the next one run, a
// stop ending the rest, a quit the program. `ending` gets the results of
// those that ran, before the cursor comes back and Busy clears.
void StartWindowJobsInTurn(MainWindow& window, MainWindowState& state, std::vector<JobBody> bodies,
                           std::function<void(std::size_t)> beforeEach,
                           std::function<void(const std::vector<JobResult>&)> ending);

// The same on the calling thread (a select-verify list loaded on the UI
// thread), returning once the job's end is handled.
void RunWindowJob(MainWindow& window, MainWindowState& state, const JobBody& body, const WindowJobOptions& options = {});

// The end every job shares: the cursor back, the stop forgotten, Busy
// cleared, and the end of the program if a quit was asked for meanwhile.
void FinishWindowJob(MainWindow& window, MainWindowState& state);

}  // namespace velmar
