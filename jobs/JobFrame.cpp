#include "jobs/JobFrame.h"

#include <cerrno>
#include <cstring>

#include "checksum/FileReading.h"
#include "jobs/RowRemoval.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace velmar {

namespace {
// What a stopped job's summary ends in.
constexpr const char* StoppedMark = "  (stopped)";

// How a job ends early: thrown by the frame's own steps, caught by Run, so
// that every job's locals (its engine, its list, the list it writes) are
// let go on the way out.
struct JobEndsEarly {
    JobEnd end;
    JobFailure failure;
    std::string message;
};
}  // namespace

std::string QuestionText(Question question, int count) {
    switch (question) {
        case Question::RenameBadFiles: return "Rename Bad Files?";
        case Question::OverwriteList: return "File Exists. Overwrite?";
        case Question::UpdateList: return "Update List?";
        case Question::AddFiles: return "Add " + std::to_string(count) + " Files to the List?";
        case Question::CheckBadlySignedList: return "The list's signature is BAD. Check its files anyway?";
    }
    return "";
}

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

std::string WithSignature(const std::string& text, const std::string& signature) {
    return signature.empty() ? text : text + "  " + signature;
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

std::vector<RenameFailure> RenameBadFiles(const std::string& listDirectory, const std::vector<std::string>& paths,
                                          const std::function<void(std::size_t index)>& renamed) {
    // A list's names come from whoever made the list: a name that climbs out
    // of its folder ("..\\..\\.bashrc", a linked folder) may be read, but a
    // Yes must never rename a file outside it. Such a row is skipped like a
    // rename that fails.
    const FolderBound folder(listDirectory);
    std::vector<RenameFailure> failures;
    for (std::size_t index = 0; index < paths.size(); ++index) {
        const std::string& path = paths[index];
        if (!folder.Holds(path)) {
            failures.push_back({path, "it lies outside the list's folder"});
            continue;
        }
        if (RenameNoReplace(path, path + ".BAD")) {
            if (renamed) renamed(index);
            continue;
        }
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

JobFrame::~JobFrame() {
    // What the job held went with its body: only the frame's own threads end here.
    closeList_ = nullptr;
    LetGo();
}

std::optional<std::string> JobFrame::Attempt(const std::function<void()>& step) {
    try {
        step();
    } catch (const JobEndsEarly& early) {
        if (early.end != JobEnd::Failed) throw;
        return early.message;
    }
    return std::nullopt;
}

JobResult JobFrame::Run(const std::function<void()>& body) {
    JobResult result;
    try {
        body();
        result.end = stopped_ ? JobEnd::Stopped : JobEnd::Completed;
    } catch (const JobEndsEarly& early) {
        result.end = early.end;
        result.failure = early.failure;
        result.message = early.message;
    } catch (...) {
        // Anything else is no way for a job to end: what it held is gone
        // with its body by now, so nothing of it is closed again.
        closeList_ = nullptr;
        LetGo();
        throw;
    }
    LetGo();
    result.tallies = tallies_;
    result.rows = RowCount();
    result.unreadableFolder = unreadable_;
    result.signature = signature_;
    return result;
}

void JobFrame::LetGo() {
    if (closeList_) {
        auto close = std::move(closeList_);
        closeList_ = nullptr;
        close();
    }
    if (progress_) {
        progress_.reset();
        sink_.ProgressFollowed(nullptr);
    }
}

void JobFrame::AddPendingRow(const std::string& name) {
    sink_.RowAdded(name);
    icons_.push_back(IconPending);
}

void JobFrame::SetRowCount(int rows) { icons_.assign(static_cast<std::size_t>(rows), IconPending); }

int JobFrame::WalkRowFiles(int rows, const RowFiles& files,
                           const std::function<void(int row, const FileDigest&)>& done,
                           const std::function<void()>& alsoLetGo) {
    const DigestWatch watch = BeginReading(rows);
    int row = 0;
    {
        ChecksumEngine engine(rows, EngineOptionsFor(files.folder, control_.engine, rows, files.pathOf),
                              files.algorithm, files.pathOf, watch, files.fallbackOf, files.algorithmOf);
        HoldList([&] {
            engine.Stop();
            if (alsoLetGo) alsoLetGo();
        });
        for (; row < rows; ++row) {
            QuitCheck();
            if (StopCheck()) break;
            const FileDigest digest = engine.Take(row);
            if (digest.status == FileDigestStatus::Stopped && StopCheck()) break;
            done(row, digest);
        }
        // Nothing reads or counts any more once the walk ends.
        HoldList(alsoLetGo);
    }
    EndRowWalk();
    return row;
}

DigestWatch JobFrame::BeginReading(int files) {
    progress_ = std::make_shared<JobProgress>(files);
    sink_.ProgressFollowed(progress_);
    return {&control_.StopRequested, &progress_->bytesDone, &progress_->bytesSized, &progress_->rowsSized};
}

void JobFrame::RowDone(int row, StatusIcon icon) {
    icons_[static_cast<std::size_t>(row)] = icon;
    if (int* tally = TallyOf(tallies_, icon)) ++*tally;
    sink_.RowMarked(row, icon, nullptr);
    if (progress_) ++progress_->rowsDone;
}

void JobFrame::RowDone(int row, StatusIcon icon, const RowDetails& details) {
    icons_[static_cast<std::size_t>(row)] = icon;
    if (int* tally = TallyOf(tallies_, icon)) ++*tally;
    if (icon == IconBad && details.corrupt) ++tallies_.CorruptCount;
    sink_.RowMarked(row, icon, &details);
    if (progress_) ++progress_->rowsDone;
}

void JobFrame::OtherRowDone(int row, StatusIcon icon, const RowDetails& details) {
    sink_.RowMarked(row, icon, &details);
    if (progress_) ++progress_->rowsDone;
}

void JobFrame::ChangeRow(int row, StatusIcon icon, const std::string& text, const RowDetails& details) {
    StatusIcon& was = icons_[static_cast<std::size_t>(row)];
    if (int* tally = TallyOf(tallies_, was)) --*tally;
    if (int* tally = TallyOf(tallies_, icon)) ++*tally;
    was = icon;
    sink_.RowChanged(row, icon, text, details);
}

void JobFrame::RemoveRows(const std::vector<int>& rows) {
    if (rows.empty()) return;
    for (int row : rows)
        if (int* tally = TallyOf(tallies_, icons_[static_cast<std::size_t>(row)])) --*tally;
    RemoveRowsAt(icons_, rows);
    sink_.RowsRemoved(rows);
}

bool JobFrame::ShowSummary(const std::string& summary) {
    sink_.Summary(WithSignature(stopped_ ? summary + StoppedMark : summary, signature_.words));
    return !stopped_;
}

void JobFrame::EndRowWalk() {
    if (!progress_) return;
    progress_.reset();
    sink_.ProgressFollowed(nullptr);
}

void JobFrame::EndVerify(const std::string& listDirectory, const std::function<std::string(int row)>& pathOfRow) {
    if (!ShowSummary(SummaryText(tallies_))) return;
    if (tallies_.BadCount == 0 || !sink_.Ask(Question::RenameBadFiles, tallies_.BadCount)) return;
    std::vector<std::string> bad;
    std::vector<int> badRows;
    for (int row = 0; row < RowCount(); ++row)
        if (icons_[static_cast<std::size_t>(row)] == IconBad) {
            bad.push_back(pathOfRow(row));
            badRows.push_back(row);
        }
    // A renamed row tells where its file is now.
    const auto failures = RenameBadFiles(listDirectory, bad, [&](std::size_t index) {
        sink_.RowRenamed(badRows[index], AbsolutePath(bad[index] + ".BAD"));
    });
    const std::string refused = RenameFailuresMessage(listDirectory, failures);
    if (!refused.empty()) sink_.Told(refused);
}

void JobFrame::QuitCheck() {
    if (!control_.QuitRequested) return;
    LetGo();
    throw JobEndsEarly{JobEnd::Quit, JobFailure::None, {}};
}

bool JobFrame::StopCheck() {
    if (control_.StopRequested) stopped_ = true;
    return stopped_;
}

void JobFrame::Fatal(FatalError error) {
    Fatal(error == FatalError::ErrorReadingFile ? JobFailure::FileUnreadable : JobFailure::WritingFailed,
          FatalMessage(error));
}

void JobFrame::Fatal(JobFailure failure, const std::string& message) {
    LetGo();
    throw JobEndsEarly{JobEnd::Failed, failure, message};
}

}  // namespace velmar
