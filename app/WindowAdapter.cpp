#include "app/WindowAdapter.h"

#include <algorithm>
#include <chrono>
#include <future>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include "app/Dialogs.h"
#include "app/ResultList.h"
#include "app/StatusPictures.h"

namespace velmar {

namespace {

// How long one drain may hold the UI thread before it lets input and
// painting in.
constexpr auto DrainSliceTime = std::chrono::milliseconds(8);
// A job may run this many operations (or rows) ahead of the window and no
// further: a list of a million rows must not wait in memory as a million
// queued operations when the window cannot show them faster anyway.
constexpr std::size_t MaxQueued = 8192;
// The rows a worker's sink gathers into one batch: a few milliseconds of
// the window's work, a quarter of what may be queued.
constexpr std::size_t RowsPerWorkerBatch = MaxQueued / 4;
// The operations the window takes from the queue at a time.
constexpr std::size_t OperationsPerLock = 256;

QString FromBytes(const std::string& text) { return QFile::decodeName(QByteArray::fromStdString(text)); }
std::string ToBytes(const QString& text) { return QFile::encodeName(text).toStdString(); }

}  // namespace

WindowAdapter::WindowAdapter(const MainWindowControls& controls) : c_(controls), follower_(controls.progressBar1) {}

WindowAdapter::~WindowAdapter() {
    if (busyCursor_) QApplication::restoreOverrideCursor();
}

bool WindowAdapter::OnUiThread() const { return QThread::currentThread() == thread(); }

void WindowAdapter::Post(Operation op, std::size_t weight) {
    if (OnUiThread()) {
        Drain();
        op();
        return;
    }
    std::unique_lock lock(mutex_);
    if (queuedWeight_ >= MaxQueued) drained_.wait(lock, [this] { return queuedWeight_ <= MaxQueued / 2; });
    queue_.push_back({std::move(op), weight});
    queuedWeight_ += weight;
    if (drainScheduled_) return;
    drainScheduled_ = true;
    QMetaObject::invokeMethod(this, [this] { DrainSlice(); }, Qt::QueuedConnection);
}

template <class Result>
Result WindowAdapter::Ask(std::function<Result()> op) {
    if (OnUiThread()) {
        Drain();
        return op();
    }
    std::promise<Result> answer;
    std::future<Result> future = answer.get_future();
    Post([&] { answer.set_value(op()); });
    return future.get();
}

void WindowAdapter::DrainSlice() {
    const auto end = std::chrono::steady_clock::now() + DrainSliceTime;
    c_.rows->BeginBatch();
    struct EndBatch {
        ResultRows& rows;
        ~EndBatch() { rows.EndBatch(); }
    } endBatch{*c_.rows};
    for (;;) {
        Operation op;
        if (!NextOperation(op, true)) return;
        if (std::chrono::steady_clock::now() >= end) {
            // Still scheduled: come back after the events waiting now.
            inHand_.push_front(std::move(op));
            QMetaObject::invokeMethod(this, [this] { DrainSlice(); }, Qt::QueuedConnection);
            return;
        }
        // Outside the lock: a dialog runs its own event loop in here.
        op();
    }
}

void WindowAdapter::Drain() {
    for (Operation op; NextOperation(op, false);) op();
}

bool WindowAdapter::NextOperation(Operation& op, bool endsSlice) {
    if (inHand_.empty()) {
        // Taken a batch at a time: the job queuing a row's operations and the
        // window carrying them out met at the lock at every one.
        std::lock_guard lock(mutex_);
        if (queue_.empty()) {
            if (endsSlice) drainScheduled_ = false;
            return false;
        }
        const std::size_t before = queuedWeight_;
        const auto taken = queue_.begin() + static_cast<std::ptrdiff_t>(std::min(queue_.size(), OperationsPerLock));
        for (auto at = queue_.begin(); at != taken; ++at) {
            inHand_.push_back(std::move(at->op));
            queuedWeight_ -= at->weight;
        }
        queue_.erase(queue_.begin(), taken);
        // A waiting job is woken once the window has caught up by half.
        if (before > MaxQueued / 2 && queuedWeight_ <= MaxQueued / 2) drained_.notify_all();
    }
    op = std::move(inHand_.front());
    inHand_.pop_front();
    return true;
}

QWidget* WindowAdapter::Widget(Control control) const {
    switch (control) {
        case Control::Edit1: return c_.edit1;
        case Control::Edit2: return c_.edit2;
        case Control::Label1: return c_.label1;
        case Control::Button1: return c_.button1;
        case Control::CheckBox1: return c_.checkBox1;
        case Control::ComboBox1: return c_.comboBox1;
    }
    return nullptr;
}

void WindowAdapter::SetText(Control control, const std::string& text) {
    Post([this, control, text] {
        const QString value = FromBytes(text);
        switch (control) {
            case Control::Edit1: c_.edit1->setText(value); break;
            case Control::Edit2: c_.edit2->setText(value); break;
            case Control::Label1:
                // The form widens its right panel to show the whole text.
                c_.label1->setText(value);
                break;
            case Control::Button1: c_.button1->setText(value); break;
            case Control::CheckBox1: c_.checkBox1->setText(value); break;
            case Control::ComboBox1: break;
        }
    });
}

std::string WindowAdapter::Text(Control control) {
    return Ask<std::string>([this, control] {
        switch (control) {
            case Control::Edit1: return ToBytes(c_.edit1->text());
            case Control::Edit2: return ToBytes(c_.edit2->text());
            case Control::Label1: return ToBytes(c_.label1->text());
            case Control::Button1: return ToBytes(c_.button1->text());
            case Control::CheckBox1: return ToBytes(c_.checkBox1->text());
            case Control::ComboBox1: return ToBytes(c_.comboBox1->currentText());
        }
        return std::string();
    });
}

void WindowAdapter::SetEdit1ReadOnly(bool readOnly, EditBackground background) {
    Post([this, readOnly, background] {
        c_.edit1->setReadOnly(readOnly);
        QPalette palette = c_.edit1->palette();
        const QPalette standard = QApplication::palette(c_.edit1);
        palette.setColor(QPalette::Base, background == EditBackground::ButtonFace ? standard.color(QPalette::Button)
                                                                                   : standard.color(QPalette::Base));
        c_.edit1->setPalette(palette);
    });
}

void WindowAdapter::SetEnabled(Control control, bool enabled) {
    Post([this, control, enabled] { Widget(control)->setEnabled(enabled); });
}

void WindowAdapter::SetVisible(Control control, bool visible) {
    Post([this, control, visible] { Widget(control)->setVisible(visible); });
}

void WindowAdapter::SelectComboBox1Item(int index) {
    // setCurrentIndex does not emit `activated`, so Edit2 keeps its state.
    Post([this, index] { c_.comboBox1->setCurrentIndex(index); });
}

CreationSetup WindowAdapter::ReadCreationSetup() {
    return Ask<CreationSetup>([this] {
        CreationSetup setup;
        setup.rows.reserve(static_cast<std::size_t>(c_.rows->Count()));
        for (int row = 0; row < c_.rows->Count(); ++row) setup.rows.push_back(c_.rows->Name(row));
        setup.edit1 = ToBytes(c_.edit1->text());
        setup.edit2 = ToBytes(c_.edit2->text());
        setup.comboBox1 = c_.comboBox1->currentIndex();
        setup.checkBox1 = c_.checkBox1->isChecked();
        return setup;
    });
}

void WindowAdapter::ClearRows() {
    Post([this] { c_.rows->Clear(); });
}

void WindowAdapter::AddRow(const std::string& name, StatusIcon icon) {
    Post([this, name, icon] { c_.rows->Add(name, icon); });
}

void WindowAdapter::SetRowIcon(int row, StatusIcon icon) {
    Post([this, row, icon] {
        c_.rows->SetIcon(row, icon);
        c_.listBox1->FollowRow(row);
    });
}

void WindowAdapter::SetRowDetails(int row, const RowDetails& details) {
    Post([this, row, details] {
        if (row >= 0 && row < c_.rows->Count()) c_.rows->SetDetails(row, details);
    });
}

void WindowAdapter::SetRowText(int row, const std::string& text) {
    Post([this, row, text] { c_.rows->SetName(row, text); });
}

void WindowAdapter::SetRowRenamed(int row, const std::string& path) {
    Post([this, row, path] {
        if (row < 0 || row >= c_.rows->Count()) return;
        c_.rows->SetDetails(row, RenamedDetails(c_.rows->Store().Details(row), path));
    });
}

void WindowAdapter::RemoveRows(const std::vector<int>& rows) {
    Post([this, rows] { c_.rows->Remove(rows); });
}

void WindowAdapter::ApplyRows(RowBatch batch) {
    const std::size_t weight = batch.Steps();
    Post(
        [this, batch = std::move(batch)] {
            int lastMarked = -1;
            batch.ForEach([&](const RowBatch::Step& step) {
                if (step.row < 0) return c_.rows->Add(step.text, IconPending);
                if (step.row >= c_.rows->Count()) return;
                if (step.deselect) Deselect(step.row);
                if (!step.text.empty()) c_.rows->SetPackedDetails(step.row, step.text);
                c_.rows->SetIcon(step.row, step.icon);
                lastMarked = step.row;
            });
            // One follow and one repaint for the batch: the view shows the
            // last row marked, and paints every row as it is now.
            if (lastMarked < 0) return;
            c_.listBox1->FollowRow(lastMarked);
            c_.listBox1->RepaintSoon();
        },
        weight);
}

std::size_t WindowAdapter::RowsPerBatch() {
    // A job run on the UI thread (a list loaded for select-verify) shows
    // each row as it is told, as the window's own commands do.
    return OnUiThread() ? 1 : RowsPerWorkerBatch;
}

std::string WindowAdapter::RowText(int row) {
    return Ask<std::string>([this, row] {
        return row >= 0 && row < c_.rows->Count() ? c_.rows->Name(row) : std::string();
    });
}

void WindowAdapter::SetCheckedList(const std::string& listPath, const std::string& signature) {
    Post([this, listPath, signature] { c_.rows->SetCheckedList(listPath, signature); });
}

int WindowAdapter::RowCount() {
    return Ask<int>([this] { return c_.rows->Count(); });
}

std::vector<int> WindowAdapter::SelectedRows() {
    return Ask<std::vector<int>>([this] {
        std::vector<int> rows;
        for (const QModelIndex& index : c_.listBox1->selectionModel()->selectedIndexes())
            rows.push_back(c_.rows->StoreRow(index.row()));
        std::sort(rows.begin(), rows.end());
        return rows;
    });
}

void WindowAdapter::DeselectRow(int row) {
    Post([this, row] { Deselect(row); });
}

void WindowAdapter::Deselect(int row) {
    if (const QModelIndex shown = c_.rows->IndexOfRow(row); shown.isValid())
        c_.listBox1->selectionModel()->select(shown, QItemSelectionModel::Deselect);
}

// A job repaints the list and moves the bar after every row. While one such
// request still waits in the queue, a later one joins it instead of queuing
// another: the window shows the same, with a third of the work per row.
void WindowAdapter::RepaintList() {
    if (!OnUiThread()) {
        std::lock_guard lock(mutex_);
        if (repaintQueued_) return;
        repaintQueued_ = true;
    }
    Post([this] {
        {
            std::lock_guard lock(mutex_);
            repaintQueued_ = false;
        }
        c_.listBox1->RepaintSoon();
    });
}

void WindowAdapter::SetProgressRange(int minimum, int maximum) {
    {
        // A position asked for after the range must not be applied before it.
        std::lock_guard lock(mutex_);
        queuedPosition_.reset();
    }
    Post([this, minimum, maximum] { c_.progressBar1->setRange(minimum, maximum); });
}

void WindowAdapter::SetProgressPosition(int position) {
    std::shared_ptr<std::atomic<int>> slot;
    if (!OnUiThread()) {
        std::lock_guard lock(mutex_);
        if (queuedPosition_) {
            *queuedPosition_ = position;
            return;
        }
        slot = queuedPosition_ = std::make_shared<std::atomic<int>>(position);
    } else {
        slot = std::make_shared<std::atomic<int>>(position);
    }
    Post([this, slot] {
        {
            std::lock_guard lock(mutex_);
            if (queuedPosition_ == slot) queuedPosition_.reset();
        }
        c_.progressBar1->setValue(*slot);
    });
}

void WindowAdapter::FollowProgress(std::shared_ptr<const JobProgress> progress) {
    Post([this, progress = std::move(progress)] { follower_.Follow(progress); });
}

void WindowAdapter::RepaintWindow() {
    Post([this] { c_.form->update(); });
}

void WindowAdapter::SetBusyCursor(bool busy) {
    Post([this, busy] {
        if (busy == busyCursor_) return;
        busyCursor_ = busy;
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

std::optional<std::vector<std::string>> WindowAdapter::OpenFileDialog(const OpenFileRequest& request) {
    return Ask<std::optional<std::vector<std::string>>>(
        [this, request] {
            // The window shows every row it holds while a dialog runs.
            c_.rows->EndBatch();
            return c_.dialogs->OpenFiles(c_.form, request);
        });
}

std::optional<std::string> WindowAdapter::OpenFolderDialog(const std::string& title) {
    return Ask<std::optional<std::string>>([this, title] {
        c_.rows->EndBatch();
        return c_.dialogs->OpenFolder(c_.form, title);
    });
}

std::optional<FileCheckRequest> WindowAdapter::CheckFileDialog(const FileCheckRequest& given) {
    return Ask<std::optional<FileCheckRequest>>([this, &given] {
        c_.rows->EndBatch();
        return c_.dialogs->FileCheck(c_.form, given);
    });
}

std::optional<std::string> WindowAdapter::ChooseListKind(const std::vector<std::string>& kinds) {
    return Ask<std::optional<std::string>>([this, &kinds] {
        c_.rows->EndBatch();
        return c_.dialogs->ListKind(c_.form, kinds);
    });
}

std::optional<std::array<std::string, 2>> WindowAdapter::CompareFilesDialog() {
    return Ask<std::optional<std::array<std::string, 2>>>([this] {
        c_.rows->EndBatch();
        return c_.dialogs->FilesToCompare(c_.form);
    });
}

MessageAnswer WindowAdapter::MessageBox(const std::string& text, MessageButtons buttons) {
    return Ask<MessageAnswer>([this, text, buttons] {
        c_.rows->EndBatch();
        return c_.dialogs->Message(c_.form, text, buttons);
    });
}

void WindowAdapter::LoadIcons() {
    Post([this] {
        c_.pictures->LoadAll();
        c_.listBox1->viewport()->update();
    });
}

}  // namespace velmar
