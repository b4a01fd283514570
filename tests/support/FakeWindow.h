// A scripted stand-in for the main window: records every operation in the
// order asked, answers dialogs and questions from a script, and holds rows
// and control states so a test can look at what a job left behind.
#pragma once

#include "tests/support/EventLog.h"

#include <deque>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "jobs/JobProgress.h"
#include "app/MainWindow.h"
#include "jobs/RowRemoval.h"
#include "platform/Process.h"

namespace velmar::test {

inline const char* ControlName(Control c) {
    switch (c) {
        case Control::Edit1: return "Edit1";
        case Control::Edit2: return "Edit2";
        case Control::Label1: return "Label1";
        case Control::Button1: return "Button1";
        case Control::CheckBox1: return "CheckBox1";
        case Control::ComboBox1: return "ComboBox1";
    }
    return "?";
}

// Thrown by the end-of-program handler a test installs with ProgramEndCatcher.
struct ProgramEnded : std::runtime_error {
    ProgramEnded() : std::runtime_error("program ended") {}
};

class ProgramEndCatcher {
public:
    ProgramEndCatcher() { previous_ = SetEndProgramHandler([] { throw ProgramEnded(); }); }
    ~ProgramEndCatcher() { SetEndProgramHandler(previous_); }

private:
    EndProgramHandler previous_;
};

class FakeWindow : public MainWindow, public EventLog {
public:
    struct Row {
        std::string name;
        StatusIcon icon;
        bool selected = false;
        RowDetails details;
    };

    // The script: what the next dialogs and questions answer.
    std::deque<std::optional<std::vector<std::string>>> dialogAnswers;
    std::deque<MessageAnswer> messageAnswers;
    CreationSetup setup;
    // The last progress the bar was told to follow.
    std::shared_ptr<const JobProgress> followed;

    std::vector<Row> Rows() {
        std::lock_guard lock(mutex_);
        return rows_;
    }
    void Select(std::initializer_list<int> rows) {
        for (int r : rows) rows_[static_cast<std::size_t>(r)].selected = true;
    }

    void SetText(Control c, const std::string& text) override { Record(std::string("SetText ") + ControlName(c) + " " + text); }
    std::string Text(Control c) override {
        Record(std::string("Text ") + ControlName(c));
        return c == Control::Edit1 ? setup.edit1 : setup.edit2;
    }
    void SetEdit1ReadOnly(bool readOnly, EditBackground bg) override {
        Record(std::string("Edit1ReadOnly ") + (readOnly ? "yes " : "no ") +
               (bg == EditBackground::ButtonFace ? "ButtonFace" : "Window"));
    }
    void SetEnabled(Control c, bool on) override { Record(std::string(on ? "Enable " : "Disable ") + ControlName(c)); }
    void SetVisible(Control c, bool on) override { Record(std::string(on ? "Show " : "Hide ") + ControlName(c)); }
    void SelectComboBox1Item(int i) override { Record("SelectComboBox1 " + std::to_string(i)); }
    CreationSetup ReadCreationSetup() override {
        Record("ReadCreationSetup");
        return setup;
    }
    void ClearRows() override {
        Record("ClearRows");
        std::lock_guard lock(mutex_);
        rows_.clear();
        checkedList.clear();
    }
    void AddRow(const std::string& name, StatusIcon icon) override {
        Record("AddRow " + name + " " + std::to_string(icon));
        std::lock_guard lock(mutex_);
        rows_.push_back({name, icon, false, {}});
    }
    void SetRowIcon(int row, StatusIcon icon) override {
        Record("SetRowIcon " + std::to_string(row) + " " + std::to_string(icon));
        std::lock_guard lock(mutex_);
        rows_.at(static_cast<std::size_t>(row)).icon = icon;
    }
    std::string checkedList;
    void SetCheckedList(const std::string& listPath, const std::string&) override {
        std::lock_guard lock(mutex_);
        checkedList = listPath;
    }
    // Kept, not logged: the logs stay those of the marks and texts.
    void SetRowDetails(int row, const RowDetails& details) override {
        std::lock_guard lock(mutex_);
        rows_.at(static_cast<std::size_t>(row)).details = details;
    }
    void SetRowRenamed(int row, const std::string& path) override {
        Record("SetRowRenamed " + std::to_string(row) + " " + path);
        std::lock_guard lock(mutex_);
        Row& renamed = rows_.at(static_cast<std::size_t>(row));
        renamed.details = RenamedDetails(renamed.details, path);
    }
    void SetRowText(int row, const std::string& text) override {
        Record("SetRowText " + std::to_string(row) + " " + text);
        std::lock_guard lock(mutex_);
        rows_.at(static_cast<std::size_t>(row)).name = text;
    }
    void RemoveRows(const std::vector<int>& rows) override {
        Record("RemoveRows " + std::to_string(rows.size()));
        std::lock_guard lock(mutex_);
        RemoveRowsAt(rows_, rows);
    }
    // Replayed as the operations the batch stands for, so that the log is
    // the same however the rows came; `batches` keeps each one's size.
    std::vector<std::size_t> batches;
    void ApplyRows(RowBatch batch) override {
        {
            std::lock_guard lock(mutex_);
            batches.push_back(batch.Steps());
        }
        batch.ForEach([this](const RowBatch::Step& step) {
            if (step.row < 0) return AddRow(std::string(step.text), IconPending);
            if (step.deselect) DeselectRow(step.row);
            if (!step.text.empty()) SetRowDetails(step.row, Unpacked(step.text, ""));
            SetRowIcon(step.row, step.icon);
            RepaintList();
        });
    }
    // 1: each row reaches the fake as the job tells it, so a test can stop
    // the job between any two.
    std::size_t rowsPerBatch = 1;
    std::size_t RowsPerBatch() override { return rowsPerBatch; }
    std::string RowText(int row) override {
        Record("RowText " + std::to_string(row));
        std::lock_guard lock(mutex_);
        return rows_.at(static_cast<std::size_t>(row)).name;
    }
    int RowCount() override {
        Record("RowCount");
        std::lock_guard lock(mutex_);
        return static_cast<int>(rows_.size());
    }
    std::vector<int> SelectedRows() override {
        Record("SelectedRows");
        std::lock_guard lock(mutex_);
        std::vector<int> selected;
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i].selected) selected.push_back(static_cast<int>(i));
        return selected;
    }
    void DeselectRow(int row) override {
        Record("DeselectRow " + std::to_string(row));
        std::lock_guard lock(mutex_);
        rows_.at(static_cast<std::size_t>(row)).selected = false;
    }
    void RepaintList() override { Record("RepaintList"); }
    void SetProgressRange(int lo, int hi) override {
        Record("ProgressRange " + std::to_string(lo) + ".." + std::to_string(hi));
    }
    void SetProgressPosition(int p) override { Record("ProgressPosition " + std::to_string(p)); }
    void FollowProgress(std::shared_ptr<const JobProgress> progress) override {
        Record(progress ? "FollowProgress" : "FollowProgress none");
        std::lock_guard lock(mutex_);
        if (progress) followed = progress;
    }
    void RepaintWindow() override { Record("RepaintWindow"); }
    void SetBusyCursor(bool busy) override { Record(busy ? "Cursor busy" : "Cursor default"); }
    std::optional<std::vector<std::string>> OpenFileDialog(const OpenFileRequest& r) override {
        Record("OpenFileDialog " + r.title);
        return NextDialogAnswer();
    }
    // Answered from dialogAnswers too: the first path of the answer.
    std::optional<std::string> OpenFolderDialog(const std::string& title) override {
        Record("OpenFolderDialog " + title);
        auto answer = NextDialogAnswer();
        if (!answer || answer->empty()) return std::nullopt;
        return answer->front();
    }
    // Answered from dialogAnswers: the file and the digest or list.
    std::optional<FileCheckRequest> CheckFileDialog(const FileCheckRequest& given) override {
        Record("CheckFileDialog " + given.file + " " + given.digestOrList);
        auto answer = NextDialogAnswer();
        if (!answer || answer->size() != 2) return std::nullopt;
        return FileCheckRequest{.file = (*answer)[0], .digestOrList = (*answer)[1]};
    }
    // Answered from dialogAnswers: its first entry, the kind's name.
    std::optional<std::string> ChooseListKind(const std::vector<std::string>& kinds) override {
        std::string offered;
        for (const std::string& kind : kinds) offered += " " + kind;
        Record("ChooseListKind" + offered);
        auto answer = NextDialogAnswer();
        if (!answer || answer->empty()) return std::nullopt;
        return answer->front();
    }
    std::optional<std::array<std::string, 2>> CompareFilesDialog() override {
        Record("CompareFilesDialog");
        auto answer = NextDialogAnswer();
        if (!answer || answer->size() != 2) return std::nullopt;
        return std::array<std::string, 2>{(*answer)[0], (*answer)[1]};
    }
    MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) override {
        Record(std::string("MessageBox ") + (buttons == MessageButtons::YesNo ? "YesNo " : "Ok ") + text);
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        std::lock_guard lock(mutex_);
        if (messageAnswers.empty()) throw std::logic_error("unscripted question: " + text);
        auto answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    void LoadIcons() override { Record("LoadIcons"); }

private:
    std::optional<std::vector<std::string>> NextDialogAnswer() {
        std::lock_guard lock(mutex_);
        if (dialogAnswers.empty()) throw std::logic_error("unscripted file dialog");
        auto answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        return answer;
    }

    std::vector<Row> rows_;
};

}  // namespace velmar::test
