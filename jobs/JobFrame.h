// The frame every job runs in: how it walks its rows, reports them, honours
// a stop or a quit and fails. The list jobs call these steps; none of them
// has its own copy. The frame reports to a sink and ends with a result: it
// shows nothing and ends no program, whoever runs it decides that.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "checksum/ChecksumEngine.h"
#include "checksum/FileDigest.h"
#include "jobs/JobEvents.h"
#include "jobs/JobProgress.h"

namespace velmar {

// The fatal errors every kind shares; a list that cannot be used fails the
// job with its kind's own message instead.
enum class FatalError {
    ErrorReadingFile,     // "Error Reading File.. Exiting"
    ErrorWritingToFile,   // "Error writing to file"
};

const char* FatalMessage(FatalError error);

// The count a mark adds to; nothing for a pending row.
int* TallyOf(Tallies& tallies, StatusIcon icon);

// "OK:n  BAD:n  N/A:n"
std::string SummaryText(const Tallies& tallies);
// An audit's: "OK:n  BAD:n  N/A:n  NEW:n  MOVED:n"
std::string AuditSummaryText(const Tallies& tallies);
// `text` with the words of a list's signature after it, as the status line
// and a report show them; `text` alone for a list without one.
std::string WithSignature(const std::string& text, const std::string& signature);

// A bad file left under its name, and why, as the end of a sentence.
struct RenameFailure {
    std::string path;
    std::string reason;
};

// Appends ".BAD" to each path, in order, never replacing an existing file;
// a rename that fails, or of a file outside `listDirectory`, is skipped and
// the next one still happens. Returns the ones skipped; `renamed` hears of
// each one done, by its index in `paths`.
std::vector<RenameFailure> RenameBadFiles(const std::string& listDirectory, const std::vector<std::string>& paths,
                                          const std::function<void(std::size_t index)>& renamed = {});

// The one message that names every file not renamed, or "" for none.
std::string RenameFailuresMessage(const std::string& listDirectory, const std::vector<RenameFailure>& failures);

// The files a job's rows name.
struct RowFiles {
    DigestAlgorithm algorithm;
    std::string folder;  // where the storage is asked how to read them
    ChecksumEngine::PathOfRow pathOf;
    ChecksumEngine::FallbackOfRow fallbackOf = nullptr;
    ChecksumEngine::AlgorithmOfRow algorithmOf = nullptr;  // each row's own digest instead of `algorithm`
};

class JobFrame {
public:
    JobFrame(JobSink& sink, JobControl& control) : sink_(sink), control_(control) {}
    ~JobFrame();
    JobFrame(const JobFrame&) = delete;
    JobFrame& operator=(const JobFrame&) = delete;

    JobSink& Sink() { return sink_; }
    JobControl& Control() { return control_; }

    // Runs a job's body and gives its end as a value: a failure or a quit
    // anywhere in it ends it there, after what it holds has been let go.
    JobResult Run(const std::function<void()>& body);

    // What a quit or a failure closes before the job ends: the list the job
    // holds open, the engine reading its files. Cleared with nullptr.
    void HoldList(std::function<void()> close) { closeList_ = std::move(close); }

    // A pending row at the end of the job's rows.
    void AddPendingRow(const std::string& name);
    // Reads the files of rows 0 .. rows-1 on the engine, as the shell's
    // options and the storage under `files.folder` say, and hands each
    // row's digest to `done` on the job's thread, in row order, while the
    // progress counts the bytes read. A stop ends the walk where it is
    // (rows not reached, and a file stopped part way, are not handed on);
    // a quit or a fatal end stops the reads under way and closes every
    // file, running `alsoLetGo` as well, before the job ends. Returns the
    // rows handed on.
    int WalkRowFiles(int rows, const RowFiles& files, const std::function<void(int row, const FileDigest&)>& done,
                     const std::function<void()>& alsoLetGo = {});
    // The bar follows `files` files read by the watch given back (the
    // user's stop stops it), until EndReading: for a job that reads its few
    // files itself.
    DigestWatch BeginReading(int files);
    void EndReading() { EndRowWalk(); }

    // Row `row` is handled; its mark is told, the progress moves on.
    void RowDone(int row, StatusIcon icon);
    // The same, with what the row's tooltip and a report tell of it.
    void RowDone(int row, StatusIcon icon, const RowDetails& details);
    // A row the job did not add (a select-verify pass marks rows of a list
    // read before) marked; it counts in no tally.
    void OtherRowDone(int row, StatusIcon icon, const RowDetails& details);
    // A row handled already marked anew, with a new text and details, its
    // tally moved with it.
    void ChangeRow(int row, StatusIcon icon, const std::string& text, const RowDetails& details);
    // Rows handled already taken out, `rows` in row order, their tallies
    // with them.
    void RemoveRows(const std::vector<int>& rows);
    int RowCount() const { return static_cast<int>(icons_.size()); }
    StatusIcon IconOf(int row) const { return icons_[static_cast<std::size_t>(row)]; }
    void SetRowCount(int rows);  // creation jobs walk rows they did not add

    // The summary, then the rename question when a file is bad. `pathOfRow`
    // gives the file of a row for the rename; only files in `listDirectory`
    // or below it are renamed. A stopped walk shows the summary of the rows
    // it checked with "  (stopped)" and asks nothing.
    void EndVerify(const std::string& listDirectory, const std::function<std::string(int row)>& pathOfRow);
    // `summary` told, with "  (stopped)" after it when the job was stopped
    // and the list's signature after that; true when it was not stopped.
    bool ShowSummary(const std::string& summary);

    // The signature of the list the job checks, told with its summary and
    // given with its result.
    void NoteSignature(ListSignature signature) { signature_ = std::move(signature); }
    // The list the rows are checked against, told to the sink with its signature.
    void ListChecked(const std::string& listPath) { sink_.ListChecked(listPath, signature_.words); }

    // Ends the job at once if its shell is quitting.
    void QuitCheck();
    // True once the user asked to stop the job: a verification or creation
    // then ends its row walk where it is.
    bool StopCheck();
    bool Stopped() const { return stopped_; }
    // Runs one step of a job that goes on when the step fails (one list of
    // many that cannot be read): the failure's message, or nothing when the
    // step ended well. A quit still ends the job.
    std::optional<std::string> Attempt(const std::function<void()>& step);
    // What is held let go, the job ended as failed with `message`.
    [[noreturn]] void Fatal(FatalError error);
    [[noreturn]] void Fatal(JobFailure failure, const std::string& message);

    const Tallies& Counts() const { return tallies_; }
    // A tree walk's first folder that could not be read, for the result.
    void SetUnreadableFolder(std::string folder) { unreadable_ = std::move(folder); }

private:
    // What is held let go, the progress given back.
    void LetGo();
    void EndRowWalk();
    JobSink& sink_;
    JobControl& control_;
    std::function<void()> closeList_;
    std::vector<StatusIcon> icons_;
    Tallies tallies_;
    bool stopped_ = false;
    std::string unreadable_;
    ListSignature signature_;
    std::shared_ptr<JobProgress> progress_;  // during a row walk
};

}  // namespace velmar
