// What a job tells whoever runs it, and what it ends with. A job is started
// with everything it needs decided; while it runs it reports rows, marks,
// progress and the few questions only its user can answer, through a sink
// of events, and it ends with a result value. The window turns the events
// into rows and texts; the command line prints them.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "checksum/EngineOptions.h"
#include "jobs/RowDetails.h"
#include "platform/OpenPgpSignature.h"

namespace velmar {

struct JobProgress;

// IconNew marks a file an audit found that its list does not name, IconMoved
// a listed file found again under another name.
enum StatusIcon : std::uint8_t { IconPending = 0, IconOk = 1, IconBad = 2, IconNA = 3, IconNew = 4, IconMoved = 5 };

// What a job asks its user and waits for.
enum class Question {
    RenameBadFiles,  // "Rename Bad Files?"
    OverwriteList,   // "File Exists. Overwrite?", asked by a shell before a creation starts
    UpdateList,      // "Update List?"
    AddFiles,        // "Add n Files to the List?"
    CheckBadlySignedList,  // "The list's signature is BAD. Check its files anyway?", before any is read
};

// What the check of a list's signature found, before any of its files was
// read: its verdict and, for the status line, the summary and a report,
// its words ("signed by NAME <email> (FINGERPRINT)", "signature BAD"); ""
// for a list without a signature.
struct ListSignature {
    SignatureVerdict verdict = SignatureVerdict::None;
    std::string words;
};

// The words of a question; `count` is the n of "Add n Files to the List?".
std::string QuestionText(Question question, int count = 0);

class JobSink {
public:
    virtual ~JobSink() = default;

    // A row at the end of the job's rows, pending.
    virtual void RowAdded(std::string_view name) = 0;
    // Row `row` checked: its mark and, where given, what its tooltip and a
    // report tell of it.
    virtual void RowMarked(int row, StatusIcon icon, const RowDetails* details) = 0;
    // A row marked already marked anew under a new text (a moved file's "OLD -> NEW").
    virtual void RowChanged(int row, StatusIcon icon, std::string_view text, const RowDetails& details) = 0;
    // A bad row's file renamed to `path` on the user's word.
    virtual void RowRenamed(int row, const std::string& path) = 0;
    // `rows` in row order; the rows after each move up.
    virtual void RowsRemoved(const std::vector<int>& rows) = 0;
    // The list the rows are checked against, and its signature's words ("" for
    // none), told once the check begins.
    virtual void ListChecked(const std::string& listPath, const std::string& signature) = 0;
    // Until told again with nothing, `progress` counts the job's work; the
    // sink reads it as often as it likes.
    virtual void ProgressFollowed(std::shared_ptr<const JobProgress> progress) = 0;
    // The tallies in words, "OK:1  BAD:0  N/A:0", with "  (stopped)" after
    // them when the job was stopped.
    virtual void Summary(const std::string& text) = 0;
    // True for Yes. The job waits for the answer.
    virtual bool Ask(Question question, int count) = 0;
    // Something the user should read that ends nothing: a file not renamed,
    // a list updated, a folder that could not be read.
    virtual void Told(const std::string& message) = 0;
};

// What stops a job, set from the shell's thread (or a signal handler) and
// read by the job between reads.
struct JobControl {
    std::atomic<std::uint8_t> StopRequested{0};  // stop the job, not the program
    std::atomic<std::uint8_t> QuitRequested{0};  // the shell is ending: end the job at once

    // A quit also stops the reading, so it ends within one read instead of
    // after the file in hand.
    void AskToQuit() {
        QuitRequested = 1;
        StopRequested = 1;
    }

    // How the job's files are read; by default as the storage says.
    EngineOptions engine;
};

struct Tallies {
    int OkCount = 0;
    int BadCount = 0;
    int NaCount = 0;
    int NewCount = 0;
    int MovedCount = 0;
    int CorruptCount = 0;  // of the bad ones, those damaged in place (RowDetails::corrupt)
};

// Why a job failed.
enum class JobFailure {
    None,
    ListUnusable,    // the list cannot be opened, read or used: the kind's own message
    FileUnreadable,  // "Error Reading File.. Exiting"
    WritingFailed,   // "Error writing to file"
    // The two that end no program: nothing was checked, the window stays.
    NotAList,              // a signature file given as a list: the message says whose it is
    BadSignatureDeclined,  // No to checking the files of a list whose signature is BAD
};

enum class JobEnd {
    Completed,
    Stopped,  // the user's stop: the job ended where it was
    Failed,   // `failure` and `message` say why
    Quit,     // the shell asked to quit: the job let go of everything at once
};

struct JobResult {
    JobEnd end = JobEnd::Completed;
    JobFailure failure = JobFailure::None;
    std::string message;  // the failure's words, as the window shows them
    Tallies tallies;
    int rows = 0;  // the rows the job had when it ended
    // A tree walk's first folder that could not be read, "" when every one was.
    std::string unreadableFolder;
    ListSignature signature;  // of the list checked
};

}  // namespace velmar
