#include "cli/ConsoleWindow.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "jobs/ProgressMeter.h"
#include "platform/Paths.h"
#include "report/RowWords.h"

namespace velmar {

ConsoleWindow::ConsoleWindow(const CliOptions& options)
    : options_(options), progressShown_(::isatty(STDERR_FILENO) && options.rows != RowOutput::Nothing) {}

ConsoleWindow::~ConsoleWindow() { StopProgress(); }

void ConsoleWindow::AnswerDialog(std::vector<std::string> paths) {
    std::lock_guard lock(mutex_);
    dialogAnswers_.push_back(std::move(paths));
}

void ConsoleWindow::BeginJob(bool streaming) {
    std::lock_guard lock(mutex_);
    streaming_ = streaming;
    label1_.clear();
}

void ConsoleWindow::PrintRow(std::string_view name, StatusIcon icon, const RowDetails& details) {
    std::string line;
    switch (options_.rows) {
        case RowOutput::Nothing: return;
        case RowOutput::Problems:
            if (icon == IconOk) return;
            [[fallthrough]];
        case RowOutput::Every: line = SumToolLine(name, icon, details) + "\n"; break;
        case RowOutput::Json: line = JsonRowLine(ListedName(name, icon, details), icon, details, checkedList_); break;
    }
    TakeProgressAway();
    std::fwrite(line.data(), 1, line.size(), stdout);
}

RowCounts ConsoleWindow::Counts() const {
    if (!streaming_) return RowTallies(rows_);
    RowCounts counts = streamed_;
    counts.pending = static_cast<int>(nameEnds_.size()) - printed_;
    return counts;
}

void ConsoleWindow::EndJob() {
    std::lock_guard lock(mutex_);
    if (!streaming_)
        for (int row = 0; row < rows_.Count(); ++row)
            if (rows_.Icon(row) != IconPending) PrintRow(rows_.Name(row), rows_.Icon(row), rows_.Details(row));
    if (options_.rows == RowOutput::Json && label1_.starts_with("OK:")) {
        const std::string line = JsonSummaryLine(Counts(), {.summary = label1_, .list = checkedList_});
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    std::fflush(stdout);
    if (label1_.starts_with("OK:")) std::fprintf(stderr, "%s\n", label1_.c_str());
}

int ConsoleWindow::StatusBits() const {
    std::lock_guard lock(mutex_);
    const RowCounts counts = Counts();
    int bits = 0;
    if (counts.tallies.BadCount) bits |= 2;
    if (counts.tallies.NaCount) bits |= 4;
    if (counts.tallies.NewCount || counts.tallies.MovedCount) bits |= 8;
    if (label1_.ends_with("(stopped)")) bits |= 16;
    return bits;
}

std::string ConsoleWindow::LastMessage() const {
    std::lock_guard lock(mutex_);
    return lastMessage_;
}

void ConsoleWindow::SetText(Control control, const std::string& text) {
    std::lock_guard lock(mutex_);
    if (control == Control::Edit1) edit1_ = text;
    if (control == Control::Label1) label1_ = text;
}

std::string ConsoleWindow::Text(Control control) {
    std::lock_guard lock(mutex_);
    return control == Control::Edit1 ? edit1_ : options_.commentText;
}

CreationSetup ConsoleWindow::ReadCreationSetup() {
    std::lock_guard lock(mutex_);
    CreationSetup setup;
    for (int row = 0; row < rows_.Count(); ++row) setup.rows.emplace_back(rows_.Name(row));
    setup.edit1 = edit1_;
    setup.edit2 = options_.commentText;
    setup.comboBox1 = options_.commentMode;
    setup.checkBox1 = options_.winsfv;
    return setup;
}

void ConsoleWindow::ClearRows() {
    std::lock_guard lock(mutex_);
    rows_.Clear();
    names_.clear();
    nameEnds_.clear();
    printed_ = 0;
    streamed_ = {};
    checkedList_.clear();
}

void ConsoleWindow::AddRow(const std::string& name, StatusIcon icon) {
    std::lock_guard lock(mutex_);
    if (!streaming_) return rows_.Add(name, icon);
    names_ += name;
    nameEnds_.push_back(static_cast<std::uint32_t>(names_.size()));
}

void ConsoleWindow::SetRowDetails(int row, const RowDetails& details) {
    std::lock_guard lock(mutex_);
    if (streaming_) pending_ = details;
    else rows_.SetDetails(row, details);
}

void ConsoleWindow::SetRowIcon(int row, StatusIcon icon) {
    std::lock_guard lock(mutex_);
    if (!streaming_) return rows_.SetIcon(row, icon);
    if (icon == IconPending || row != printed_) return;
    const std::size_t begin = row == 0 ? 0 : nameEnds_[static_cast<std::size_t>(row - 1)];
    PrintRow(std::string_view(names_).substr(begin, nameEnds_[static_cast<std::size_t>(row)] - begin), icon, pending_);
    if (int* tally = TallyOf(streamed_.tallies, icon)) ++*tally;
    pending_ = {};
    ++printed_;
}

void ConsoleWindow::SetRowText(int row, const std::string& text) {
    std::lock_guard lock(mutex_);
    if (!streaming_) rows_.SetName(row, text);
}

void ConsoleWindow::RemoveRows(const std::vector<int>& rows) {
    std::lock_guard lock(mutex_);
    if (!streaming_) rows_.Remove(rows);
}

std::string ConsoleWindow::RowText(int row) {
    std::lock_guard lock(mutex_);
    if (streaming_ || row < 0 || row >= rows_.Count()) return {};
    return std::string(rows_.Name(row));
}

void ConsoleWindow::SetCheckedList(const std::string& listPath) {
    std::lock_guard lock(mutex_);
    checkedList_ = AbsolutePath(listPath);
    rows_.SetCheckedList(listPath);
}

int ConsoleWindow::RowCount() {
    std::lock_guard lock(mutex_);
    return streaming_ ? static_cast<int>(nameEnds_.size()) : rows_.Count();
}

std::optional<std::vector<std::string>> ConsoleWindow::OpenFileDialog(const OpenFileRequest&) {
    std::lock_guard lock(mutex_);
    if (dialogAnswers_.empty()) return std::nullopt;
    std::vector<std::string> answer = std::move(dialogAnswers_.front());
    dialogAnswers_.pop_front();
    return answer;
}

std::optional<std::string> ConsoleWindow::OpenFolderDialog(const std::string& title) {
    OpenFileRequest request;
    request.title = title;
    auto answer = OpenFileDialog(request);
    if (!answer || answer->empty()) return std::nullopt;
    return answer->front();
}

MessageAnswer ConsoleWindow::MessageBox(const std::string& text, MessageButtons buttons) {
    if (buttons == MessageButtons::YesNo) {
        const bool yes = text == "Rename Bad Files?"         ? options_.renameBad
                       : text == "Update List?"              ? options_.update
                       : text == "File Exists. Overwrite?"   ? options_.force
                       : text.starts_with("Add ") && text.ends_with(" to the List?") ? options_.command == CliCommand::Add
                                                                                     : false;
        return yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    {
        std::lock_guard lock(mutex_);
        lastMessage_ = text;
    }
    if (options_.rows != RowOutput::Nothing) Say(text);
    return MessageAnswer::Ok;
}

void ConsoleWindow::TakeProgressAway() {
    if (progressOnScreen_) std::fputs("\r\x1b[K", stderr);
    progressOnScreen_ = false;
}

void ConsoleWindow::Say(const std::string& text) {
    std::lock_guard lock(mutex_);
    std::fflush(stdout);
    TakeProgressAway();
    std::fprintf(stderr, "%s\n", text.c_str());
}

void ConsoleWindow::FollowProgress(std::shared_ptr<const JobProgress> progress) {
    StopProgress();
    if (progress && progressShown_) ShowProgress(std::move(progress));
}

void ConsoleWindow::ShowProgress(std::shared_ptr<const JobProgress> progress) {
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

void ConsoleWindow::StopProgress() {
    if (!progressThread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        progressEnds_ = true;
    }
    progressChanged_.notify_all();
    progressThread_.join();
}

}  // namespace velmar
