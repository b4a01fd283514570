// Carries out the jobs' window operations on the UI thread.
//
// A job on a worker may not touch a widget, so its operations are queued and
// the UI thread carries them out in the order asked. Operations that answer
// nothing return at once; the queue is drained by one pending call at a time
// and in slices of a few milliseconds, so a job that floods it with rows
// never freezes the window. An operation that answers something (a text, the
// rows chosen, a dialog) waits behind everything queued before it, then the
// job waits for its answer. Called on the UI thread itself (the commands and
// go! run there), an operation first carries out what is still queued, then
// acts at once.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include <QObject>

#include "app/ProgressFollower.h"
#include "app/MainWindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace velmar {

class Dialogs;
class ResultListView;
class ResultRows;
class StatusPictures;

struct MainWindowControls {
    QWidget* form;
    ResultListView* listBox1;
    ResultRows* rows;
    StatusPictures* pictures;
    QProgressBar* progressBar1;
    QLabel* label1;
    QLineEdit* edit1;
    QPushButton* button1;
    QCheckBox* checkBox1;
    QComboBox* comboBox1;
    QLineEdit* edit2;
    Dialogs* dialogs;
};

class WindowAdapter : public QObject, public MainWindow {
public:
    explicit WindowAdapter(const MainWindowControls& controls);
    ~WindowAdapter() override;

    void SetText(Control control, const std::string& text) override;
    std::string Text(Control control) override;
    void SetEdit1ReadOnly(bool readOnly, EditBackground background) override;
    void SetEnabled(Control control, bool enabled) override;
    void SetVisible(Control control, bool visible) override;
    void SelectComboBox1Item(int index) override;
    CreationSetup ReadCreationSetup() override;

    void ClearRows() override;
    void AddRow(const std::string& name, StatusIcon icon) override;
    void SetRowIcon(int row, StatusIcon icon) override;
    void SetRowDetails(int row, const RowDetails& details) override;
    void SetRowText(int row, const std::string& text) override;
    void SetRowRenamed(int row, const std::string& path) override;
    void RemoveRows(const std::vector<int>& rows) override;
    void ApplyRows(RowBatch batch) override;
    std::size_t RowsPerBatch() override;
    std::string RowText(int row) override;
    void SetCheckedList(const std::string& listPath, const std::string& signature) override;
    int RowCount() override;
    std::vector<int> SelectedRows() override;
    void DeselectRow(int row) override;
    void RepaintList() override;

    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPosition(int position) override;
    void FollowProgress(std::shared_ptr<const JobProgress> progress) override;
    void RepaintWindow() override;

    void SetBusyCursor(bool busy) override;
    std::optional<std::vector<std::string>> OpenFileDialog(const OpenFileRequest& request) override;
    std::optional<FileCheckRequest> CheckFileDialog(const FileCheckRequest& given) override;
    std::optional<std::string> ChooseListKind(const std::vector<std::string>& kinds) override;
    std::optional<std::array<std::string, 2>> CompareFilesDialog() override;
    std::optional<std::string> OpenFolderDialog(const std::string& title) override;
    MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) override;
    void LoadIcons() override;

    // Carries out everything queued so far (the tests use it to settle).
    void Drain();

private:
    using Operation = std::function<void()>;
    bool OnUiThread() const;
    // Runs `op` on the UI thread after everything queued before it. A batch
    // of rows weighs as many operations as it has steps.
    void Post(Operation op, std::size_t weight = 1);
    // Runs `op` there and waits for its answer.
    template <class Result>
    Result Ask(std::function<Result()> op);
    void DrainSlice();
    // The next operation to carry out, in the order queued; false when none
    // is, and then, at the end of a slice, none is scheduled any more.
    bool NextOperation(Operation& op, bool endsSlice);
    QWidget* Widget(Control control) const;
    void Deselect(int row);

    MainWindowControls c_;
    std::mutex mutex_;
    struct Queued {
        Operation op;
        std::size_t weight;
    };
    std::deque<Queued> queue_;
    std::size_t queuedWeight_ = 0;
    std::deque<Operation> inHand_;  // taken from the queue, not yet carried out (the UI thread's alone)
    std::condition_variable drained_;  // the queue has room again
    bool drainScheduled_ = false;
    bool repaintQueued_ = false;                        // a RepaintList waits in the queue
    std::shared_ptr<std::atomic<int>> queuedPosition_;  // the position a queued SetProgressPosition will set
    bool busyCursor_ = false;
    ProgressFollower follower_;
};

}  // namespace velmar
