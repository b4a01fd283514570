// A job's events recorded in the order told, its questions answered from a
// script, and its rows held so a test can look at what the job left behind.
#pragma once

#include "tests/support/EventLog.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "jobs/JobEvents.h"
#include "jobs/JobProgress.h"
#include "jobs/RowRemoval.h"

namespace velmar::test {

class RecordingSink : public JobSink, public EventLog {
public:
    struct Row {
        std::string name;
        StatusIcon icon;
        RowDetails details;
    };

    // The script: what the next questions answer, Yes for true.
    std::deque<bool> answers;
    // The last progress followed.
    std::shared_ptr<const JobProgress> followed;
    std::string checkedList;
    std::string checkedSignature;

    std::vector<Row> Rows() {
        std::lock_guard lock(mutex_);
        return rows_;
    }
    // Rows a job marks without adding them (a select-verify pass's).
    void HoldRows(const std::vector<std::string>& names) {
        for (const std::string& name : names) rows_.push_back({name, IconPending, {}});
    }

    void RowAdded(std::string_view name) override {
        Record("RowAdded " + std::string(name));
        std::lock_guard lock(mutex_);
        rows_.push_back({std::string(name), IconPending, {}});
    }
    void RowMarked(int row, StatusIcon icon, const RowDetails* details) override {
        Record("RowMarked " + std::to_string(row) + " " + std::to_string(icon));
        std::lock_guard lock(mutex_);
        // A creation marks the rows its shell listed before it started.
        if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1, {"", IconPending, {}});
        Row& marked = rows_.at(static_cast<std::size_t>(row));
        marked.icon = icon;
        if (details) marked.details = *details;
    }
    void RowChanged(int row, StatusIcon icon, std::string_view text, const RowDetails& details) override {
        Record("RowChanged " + std::to_string(row) + " " + std::string(text));
        std::lock_guard lock(mutex_);
        rows_.at(static_cast<std::size_t>(row)) = {std::string(text), icon, details};
    }
    void RowRenamed(int row, const std::string& path) override {
        Record("RowRenamed " + std::to_string(row) + " " + path);
        std::lock_guard lock(mutex_);
        Row& renamed = rows_.at(static_cast<std::size_t>(row));
        renamed.details = RenamedDetails(renamed.details, path);
    }
    void RowsRemoved(const std::vector<int>& rows) override {
        Record("RowsRemoved " + std::to_string(rows.size()));
        std::lock_guard lock(mutex_);
        RemoveRowsAt(rows_, rows);
    }
    void ListChecked(const std::string& listPath, const std::string& signature) override {
        std::lock_guard lock(mutex_);
        checkedList = listPath;
        checkedSignature = signature;
    }
    void ProgressFollowed(std::shared_ptr<const JobProgress> progress) override {
        Record(progress ? "Progress" : "Progress none");
        std::lock_guard lock(mutex_);
        if (progress) followed = progress;
    }
    void Summary(const std::string& text) override { Record("Summary " + text); }
    bool Ask(Question question, int count) override {
        Record("Ask " + QuestionText(question, count));
        std::lock_guard lock(mutex_);
        if (answers.empty()) throw std::logic_error("unscripted question: " + QuestionText(question, count));
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void Told(const std::string& message) override { Record("Told " + message); }

private:
    std::vector<Row> rows_;
};

}  // namespace velmar::test
