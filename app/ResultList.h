// ListBox1: the result rows (a file name and a status each), the way a row
// is drawn, and a list view whose click toggles one row.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>
#include <QTimer>

#include "app/StatusPictures.h"
#include "app/MainWindow.h"
#include "jobs/RowStore.h"

namespace velmar {

class ResultRows : public QAbstractListModel {
public:
    static constexpr int StatusRole = Qt::UserRole + 1;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The name, its mark, and as its tooltip what its details tell.
    QVariant data(const QModelIndex& index, int role) const override;

    // The rows are the store's, by the store's row numbers; the view's may
    // be fewer (see ShowProblemsOnly).
    void Clear();
    void Add(std::string_view name, StatusIcon icon);
    void SetIcon(int row, StatusIcon icon);
    void SetName(int row, std::string_view name);
    void SetDetails(int row, const RowDetails& details) { Owned().SetDetails(row, details); }
    void SetPackedDetails(int row, std::string_view packed) { Owned().SetPackedDetails(row, packed); }
    void SetCheckedList(std::string listPath, std::string signature) {
        Owned().SetCheckedList(std::move(listPath), std::move(signature));
    }
    // `rows` in row order.
    void Remove(const std::vector<int>& rows);
    int Count() const { return store_->Count(); }
    std::string Name(int row) const { return std::string(store_->Name(row)); }
    StatusIcon Icon(int row) const { return store_->Icon(row); }
    const RowStore& Store() const { return *store_; }
    // The rows as they are now, for a reader on another thread: the window
    // changes a copy of its own from then on, and copies only if it does
    // change them while the reader holds them.
    std::shared_ptr<const RowStore> Shared() const { return store_; }

    // Rows added between these two reach the view in one insertion: a job
    // adding a million rows must not make the view lay itself out a
    // million times. Outside a batch each row reaches it at once.
    void BeginBatch() { batch_ = true; }
    void EndBatch();

    // Only the rows that are not OK and not pending in the view, or all of
    // them again. The rows marked meanwhile join it when the view next
    // catches up (Refilter).
    void ShowProblemsOnly(bool only);
    bool ProblemsOnly() const { return problemsOnly_; }
    // Brings the view's rows up to the marks set since the last call.
    void Refilter();
    // The store's row a row of the view shows, and the view's row of a
    // store's row (invalid when it is not shown).
    int StoreRow(int viewRow) const;
    QModelIndex IndexOfRow(int row) const;

private:
    // The problems among the rows `from` to `to`, in order.
    std::vector<int> Problems(int from, int to) const;
    void Marked(int row) {
        markedFrom_ = std::min(markedFrom_, row);
        markedTo_ = std::max(markedTo_, row);
    }

    RowStore& Owned() {
        if (store_.use_count() > 1) store_ = std::make_shared<RowStore>(*store_);
        return *store_;
    }

    std::shared_ptr<RowStore> store_ = std::make_shared<RowStore>();
    int shown_ = 0;  // the rows the view has been told of, when it shows them all
    bool batch_ = false;
    bool problemsOnly_ = false;
    std::vector<int> problems_;  // the store's rows the view shows while problemsOnly_
    // The rows marked since the last Refilter lie between these.
    int markedFrom_ = INT32_MAX;
    int markedTo_ = -1;
};

// ListBox1DrawItem: background, the picture 2 px in from the top-left corner,
// the text 24 px from the left (from the edge when there is no picture), top
// aligned.
class ResultRowPainter : public QStyledItemDelegate {
public:
    static constexpr int RowHeight = 18;

    explicit ResultRowPainter(const StatusPictures& pictures, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), pictures_(pictures) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const StatusPictures& pictures_;
};

// The list view: every row 18 px high, several rows selected at once, a click
// toggling the row clicked (no ranges by Shift or Ctrl).
class ResultListView : public QListView {
public:
    ResultListView(ResultRows& rows, const StatusPictures& pictures, QWidget* parent);

    // Keeps `row`, the one a job has just checked, in view: at most ten
    // times a second (the last row asked for is followed when the pause
    // ends), and not while the user has scrolled by hand in the last few
    // seconds.
    void FollowRow(int row);
    // Repaints the rows shown, at most 25 times a second: a job marks
    // thousands of rows a second, and the window would otherwise paint them
    // every time it catches up with the job's queue. A problems-only view
    // takes in the rows marked since.
    void RepaintSoon();

protected:
    // Ctrl+C: the selected rows, in row order, a line each in the words the
    // text report uses.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The selected rows to the clipboard, in row order: a line each, or
    // with `details` all each row's tooltip tells.
    void CopyRows(bool details);
    void FollowNow();
    void RepaintNow();

    ResultRows& rows_;
    QTimer* followTimer_;
    QTimer* repaintTimer_;
    std::chrono::steady_clock::time_point lastRepaint_{};
    int rowToFollow_ = -1;
    std::chrono::steady_clock::time_point lastFollow_{};
    std::chrono::steady_clock::time_point lastUserScroll_{};
};

}  // namespace velmar
