#include "cli/ConsoleSink.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "jobs/JobFrame.h"
#include "jobs/ProgressMeter.h"
#include "platform/Paths.h"
#include "report/RowWords.h"

namespace velmar {

ConsoleSink::ConsoleSink(const CliOptions& options)
    : options_(options), progressShown_(::isatty(STDERR_FILENO) && options.rows != RowOutput::Nothing) {}

ConsoleSink::~ConsoleSink() { StopProgress(); }

void ConsoleSink::BeginJob(bool streaming, std::string rowPrefix) {
    std::lock_guard lock(mutex_);
    streaming_ = streaming;
    rowPrefix_ = std::move(rowPrefix);
    summary_.clear();
    rows_.Clear();
    names_.clear();
    nameEnds_.clear();
    printed_ = 0;
    streamed_ = {};
    checkedList_.clear();
}

void ConsoleSink::PrintRow(std::string_view name, StatusIcon icon, const RowDetails& details) {
    std::string line;
    switch (options_.rows) {
        case RowOutput::Nothing: return;
        case RowOutput::Problems:
            if (icon == IconOk) return;
            [[fallthrough]];
        case RowOutput::Every: line = SumToolLine(rowPrefix_ + std::string(name), icon, details) + "\n"; break;
        case RowOutput::Json: line = JsonRowLine(ListedName(name, icon, details), icon, details, checkedList_); break;
    }
    TakeProgressAway();
    std::fwrite(line.data(), 1, line.size(), stdout);
}

RowCounts ConsoleSink::Counts() const {
    if (!streaming_) return RowTallies(rows_);
    RowCounts counts = streamed_;
    counts.pending = static_cast<int>(nameEnds_.size()) - printed_;
    return counts;
}

void ConsoleSink::EndJob(const std::string& listName, bool summary) {
    StopProgress();
    std::lock_guard lock(mutex_);
    if (!streaming_)
        for (int row = 0; row < rows_.Count(); ++row)
            if (rows_.Icon(row) != IconPending) PrintRow(rows_.Name(row), rows_.Icon(row), rows_.Details(row));
    if (!summary) summary_.clear();
    if (options_.rows == RowOutput::Json && !summary_.empty()) {
        const std::string line = JsonSummaryLine(Counts(), {.summary = summary_, .list = checkedList_});
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    std::fflush(stdout);
    if (!summary_.empty()) std::fprintf(stderr, "%s%s\n", listName.empty() ? "" : (listName + ": ").c_str(), summary_.c_str());
}

std::vector<std::string> ConsoleSink::RowNames() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (int row = 0; row < rows_.Count(); ++row) names.emplace_back(rows_.Name(row));
    return names;
}

void ConsoleSink::RowAdded(std::string_view name) {
    std::lock_guard lock(mutex_);
    if (!streaming_) return rows_.Add(name, IconPending);
    names_ += name;
    nameEnds_.push_back(static_cast<std::uint32_t>(names_.size()));
}

void ConsoleSink::RowMarked(int row, StatusIcon icon, const RowDetails* details) {
    std::lock_guard lock(mutex_);
    // A creation marks the files it was given, which are no rows to print.
    if (row < 0 || row >= (streaming_ ? static_cast<int>(nameEnds_.size()) : rows_.Count())) return;
    if (!streaming_) {
        if (details) rows_.SetDetails(row, *details);
        return rows_.SetIcon(row, icon);
    }
    if (icon == IconPending || row != printed_) return;
    const std::size_t begin = row == 0 ? 0 : nameEnds_[static_cast<std::size_t>(row - 1)];
    PrintRow(std::string_view(names_).substr(begin, nameEnds_[static_cast<std::size_t>(row)] - begin), icon,
             details ? *details : RowDetails{});
    if (int* tally = TallyOf(streamed_.tallies, icon)) ++*tally;
    ++printed_;
}

void ConsoleSink::RowChanged(int row, StatusIcon icon, std::string_view text, const RowDetails& details) {
    std::lock_guard lock(mutex_);
    if (streaming_ || row < 0 || row >= rows_.Count()) return;
    rows_.SetName(row, text);
    rows_.SetDetails(row, details);
    rows_.SetIcon(row, icon);
}

void ConsoleSink::RowRenamed(int row, const std::string& path) {
    std::lock_guard lock(mutex_);
    if (!streaming_ && row >= 0 && row < rows_.Count()) rows_.SetDetails(row, RenamedDetails(rows_.Details(row), path));
}

void ConsoleSink::RowsRemoved(const std::vector<int>& rows) {
    std::lock_guard lock(mutex_);
    if (!streaming_) rows_.Remove(rows);
}

void ConsoleSink::ListChecked(const std::string& listPath, const std::string& signature) {
    std::lock_guard lock(mutex_);
    checkedList_ = AbsolutePath(listPath);
    rows_.SetCheckedList(listPath, signature);
}

void ConsoleSink::Summary(const std::string& text) {
    std::lock_guard lock(mutex_);
    summary_ = text;
}

bool ConsoleSink::Ask(Question question, int) {
    switch (question) {
        case Question::RenameBadFiles: return options_.renameBad;
        case Question::UpdateList: return options_.update;
        case Question::OverwriteList: return options_.force;
        case Question::AddFiles: return options_.command == CliCommand::Add;
        case Question::CheckBadlySignedList: return options_.despiteBadSignature;
    }
    return false;
}

void ConsoleSink::Told(const std::string& message) {
    if (options_.rows != RowOutput::Nothing) Say(message);
}

void ConsoleSink::TakeProgressAway() {
    if (progressOnScreen_) std::fputs("\r\x1b[K", stderr);
    progressOnScreen_ = false;
}

void ConsoleSink::Say(const std::string& text) {
    std::lock_guard lock(mutex_);
    std::fflush(stdout);
    TakeProgressAway();
    std::fprintf(stderr, "%s\n", text.c_str());
}

void ConsoleSink::ProgressFollowed(std::shared_ptr<const JobProgress> progress) {
    StopProgress();
    if (!progress || !progressShown_) return;
    progressEnds_ = false;
    progressThread_ = std::thread([this, progress] {
        ProgressMeter meter;
        const auto start = std::chrono::steady_clock::now();
        std::unique_lock lock(mutex_);
        // At most ten times a second, and not in the first one: a job over
        // by then has no use for it.
        while (!progressChanged_.wait_for(lock, std::chrono::milliseconds(100), [this] { return progressEnds_; })) {
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const ProgressReading reading = meter.Read(seconds, *progress);
            if (seconds < 1 || reading.text.empty()) continue;
            std::fprintf(stderr, "\r%s\x1b[K", reading.text.c_str());
            std::fflush(stderr);
            progressOnScreen_ = true;
        }
        TakeProgressAway();
    });
}

void ConsoleSink::StopProgress() {
    if (!progressThread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        progressEnds_ = true;
    }
    progressChanged_.notify_all();
    progressThread_.join();
}

}  // namespace velmar
