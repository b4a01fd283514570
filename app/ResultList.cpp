#include "app/ResultList.h"

#include <QFile>
#include <QPainter>

namespace velmar {

int ResultRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

QVariant ResultRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    if (role == Qt::DisplayRole) return QFile::decodeName(QByteArray::fromStdString(Name(index.row())));
    if (role == StatusRole) return static_cast<int>(Icon(index.row()));
    return {};
}

void ResultRows::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void ResultRows::Add(const std::string& name, StatusIcon icon) {
    const int row = Count();
    beginInsertRows(QModelIndex(), row, row);
    rows_.push_back({name, icon});
    endInsertRows();
}

void ResultRows::SetIcon(int row, StatusIcon icon) {
    if (row < 0 || row >= Count()) return;
    rows_[static_cast<std::size_t>(row)].icon = icon;
    // The view repaints when the job asks for it; no signal per icon.
}

void ResultRowPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    painter->save();
    painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());

    int textLeft = option.rect.left();
    const auto icon = static_cast<StatusIcon>(index.data(ResultRows::StatusRole).toInt());
    const QPixmap& picture = pictures_.Picture(icon);
    if (!picture.isNull()) {
        painter->drawPixmap(option.rect.left() + 2, option.rect.top() + 2, picture);
        textLeft += picture.width() + 8;
    }
    painter->setFont(option.font);
    painter->setPen(selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
    const QRect textRect(textLeft, option.rect.top(), option.rect.right() - textLeft + 1, option.rect.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize ResultRowPainter::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const { return {0, RowHeight}; }

ResultListView::ResultListView(ResultRows& rows, const StatusPictures& pictures, QWidget* parent)
    : QListView(parent) {
    setModel(&rows);
    setItemDelegate(new ResultRowPainter(pictures, this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::MultiSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

}  // namespace velmar
