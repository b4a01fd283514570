// How velmar-cli shows a job: rows on standard output in md5sum -c's words
// (or as JSON), the summary, messages and progress on standard error, and
// the job's questions answered by the command's options.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliOptions.h"
#include "jobs/JobEvents.h"
#include "jobs/RowStore.h"
#include "report/Report.h"

namespace velmar {

class ConsoleSink : public JobSink {
public:
    explicit ConsoleSink(const CliOptions& options);
    ~ConsoleSink() override;

    // A new job's rows. They are printed as they are marked when
    // `streaming` (a verification marks each once, in order); otherwise all
    // at once by EndJob, once the job is over (an audit marks moved files
    // again at its end). `rowPrefix` goes before each name printed.
    void BeginJob(bool streaming, std::string rowPrefix = {});
    // The rows not printed yet, then, with `summary`, the summary on
    // standard error, named by `listName` when given.
    void EndJob(const std::string& listName = {}, bool summary = true);
    // The names of the rows the job added, in row order (a tree walk's).
    std::vector<std::string> RowNames() const;
    // Writes to standard error, taking the progress line away first.
    void Say(const std::string& text);

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
    void PrintRow(std::string_view name, StatusIcon icon, const RowDetails& details);
    RowCounts Counts() const;
    void StopProgress();
    // The progress line cleared from the terminal, if it is there; under the mutex.
    void TakeProgressAway();

    const CliOptions& options_;
    mutable std::mutex mutex_;
    RowStore rows_;  // unless streaming
    std::string summary_, checkedList_, rowPrefix_;
    // While streaming, rows are marked once each, in order: what is kept is
    // only each name until its line is printed, end to end, and the count
    // of each mark, so that a list of a million rows costs little more
    // than its names.
    bool streaming_ = false;
    std::string names_;
    std::vector<std::uint32_t> nameEnds_;
    int printed_ = 0;
    RowCounts streamed_;
    // The progress line, on a terminal.
    const bool progressShown_;
    std::thread progressThread_;
    std::condition_variable progressChanged_;
    bool progressEnds_ = false;
    bool progressOnScreen_ = false;
};

}  // namespace velmar
