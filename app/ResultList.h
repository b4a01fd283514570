// ListBox1: the result rows (a file name and a status each), the way a row
// is drawn, and a list view whose click toggles one row.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>
#include <QTimer>

#include "app/StatusPictures.h"
#include "jobs/MainWindow.h"

namespace velmar {

class ResultRows : public QAbstractListModel {
public:
    static constexpr int StatusRole = Qt::UserRole + 1;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void Clear();
    void Add(std::string_view name, StatusIcon icon);
    void SetIcon(int row, StatusIcon icon);
    void SetName(int row, std::string_view name);
    // `rows` in row order.
    void Remove(const std::vector<int>& rows);
    int Count() const { return static_cast<int>(rows_.size()); }
    // The name as listed, byte for byte.
    std::string Name(int row) const;
    StatusIcon Icon(int row) const { return rows_[static_cast<std::size_t>(row)].icon; }

    // Rows added between these two reach the view in one insertion: a job
    // adding a million rows must not make the view lay itself out a
    // million times. Outside a batch each row reaches it at once.
    void BeginBatch() { batch_ = true; }
    void EndBatch();

private:
    // The names lie end to end in blocks of a fixed size: a million rows
    // cost their bytes and a few more, not a string each, and growing never
    // copies what is there (a copy of many megabytes would stall the window).
    struct Row {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
        StatusIcon icon;
    };
    static constexpr std::size_t NameBlockSize = 1 << 20;
    // Puts `name` at the end of the last block: a row renamed leaves its old
    // bytes where they are.
    Row Stored(std::string_view name, StatusIcon icon);
    std::string_view NameView(const Row& row) const {
        return std::string_view(names_[row.block]).substr(row.offset, row.length);
    }
    std::deque<std::string> names_;
    std::deque<Row> rows_;
    int shown_ = 0;  // the rows the view has been told of
    bool batch_ = false;
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
    // every time it catches up with the job's queue.
    void RepaintSoon();

private:
    void FollowNow();
    void RepaintNow();

    QTimer* followTimer_;
    QTimer* repaintTimer_;
    std::chrono::steady_clock::time_point lastRepaint_{};
    int rowToFollow_ = -1;
    std::chrono::steady_clock::time_point lastFollow_{};
    std::chrono::steady_clock::time_point lastUserScroll_{};
};

}  // namespace velmar
