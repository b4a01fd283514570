// ListBox1: the result rows (a file name and a status each), the way a row
// is drawn, and a list view whose click toggles one row.
#pragma once

#include <string>
#include <vector>

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

#include "app/StatusPictures.h"
#include "jobs/MainWindow.h"

namespace velmar {

class ResultRows : public QAbstractListModel {
public:
    static constexpr int StatusRole = Qt::UserRole + 1;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void Clear();
    void Add(const std::string& name, StatusIcon icon);
    void SetIcon(int row, StatusIcon icon);
    int Count() const { return static_cast<int>(rows_.size()); }
    // The name as listed, byte for byte.
    const std::string& Name(int row) const { return rows_[static_cast<std::size_t>(row)].name; }
    StatusIcon Icon(int row) const { return rows_[static_cast<std::size_t>(row)].icon; }

private:
    struct Row {
        std::string name;
        StatusIcon icon;
    };
    std::vector<Row> rows_;
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
};

}  // namespace velmar
