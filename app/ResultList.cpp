#include "app/ResultList.h"

#include "jobs/RowRemoval.h"

#include <algorithm>

#include <QFile>
#include <QPainter>
#include <QScrollBar>

namespace velmar {

int ResultRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

std::string ResultRows::Name(int row) const { return std::string(NameView(rows_[static_cast<std::size_t>(row)])); }

QVariant ResultRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shown_) return {};
    if (role == Qt::DisplayRole) {
        const std::string_view name = NameView(rows_[static_cast<std::size_t>(index.row())]);
        return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    }
    if (role == StatusRole) return static_cast<int>(Icon(index.row()));
    return {};
}

void ResultRows::Clear() {
    beginResetModel();
    rows_.clear();
    names_.clear();
    shown_ = 0;
    endResetModel();
}

ResultRows::Row ResultRows::Stored(std::string_view name, StatusIcon icon) {
    // A name longer than a block gets a block of its own.
    if (names_.empty() || names_.back().size() + name.size() > names_.back().capacity()) {
        names_.emplace_back();
        names_.back().reserve(std::max(NameBlockSize, name.size()));
    }
    std::string& block = names_.back();
    const Row row{static_cast<std::uint32_t>(names_.size() - 1), static_cast<std::uint32_t>(block.size()),
                  static_cast<std::uint32_t>(name.size()), icon};
    block.append(name);
    return row;
}

void ResultRows::Add(std::string_view name, StatusIcon icon) {
    rows_.push_back(Stored(name, icon));
    if (!batch_) EndBatch();
}

void ResultRows::SetName(int row, std::string_view name) {
    if (row < 0 || row >= Count()) return;
    Row& target = rows_[static_cast<std::size_t>(row)];
    target = Stored(name, target.icon);
    if (row < shown_) emit dataChanged(index(row), index(row));
}

void ResultRows::Remove(const std::vector<int>& rows) {
    if (rows.empty()) return;
    // One reset for any number of rows: removing them one by one from a long
    // list would move its rows once per removal.
    beginResetModel();
    RemoveRowsAt(rows_, rows);
    shown_ = std::min(shown_, Count());
    endResetModel();
}

void ResultRows::EndBatch() {
    batch_ = false;
    if (shown_ == Count()) return;
    // The rows are in place already; the view asks for them only after the
    // insertion ends, and until then counts the rows it was told of.
    beginInsertRows(QModelIndex(), shown_, Count() - 1);
    shown_ = Count();
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
    const QPixmap& picture = pictures_.Picture(icon, painter->device()->devicePixelRatio());
    if (!picture.isNull()) {
        painter->drawPixmap(option.rect.left() + 2, option.rect.top() + 2, picture);
        textLeft += StatusPictures::Size + 8;
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
    setLayoutMode(QListView::Batched);
    setSelectionMode(QAbstractItemView::MultiSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // Only the user's own scrolling (wheel, bar, keys on the bar) triggers
    // actions; the view's scrolling to a row does not.
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this] { lastUserScroll_ = std::chrono::steady_clock::now(); });
    followTimer_ = new QTimer(this);
    followTimer_->setSingleShot(true);
    connect(followTimer_, &QTimer::timeout, this, [this] { FollowNow(); });
    repaintTimer_ = new QTimer(this);
    repaintTimer_->setSingleShot(true);
    connect(repaintTimer_, &QTimer::timeout, this, [this] { RepaintNow(); });
}

namespace {
constexpr auto FollowPause = std::chrono::milliseconds(100);
constexpr auto RepaintPause = std::chrono::milliseconds(40);
constexpr auto UserScrollRespite = std::chrono::seconds(3);
}  // namespace

void ResultListView::FollowRow(int row) {
    rowToFollow_ = row;
    if (followTimer_->isActive()) return;
    const auto since = std::chrono::steady_clock::now() - lastFollow_;
    if (since >= FollowPause) FollowNow();
    else followTimer_->start(std::chrono::duration_cast<std::chrono::milliseconds>(FollowPause - since));
}

void ResultListView::RepaintSoon() {
    if (repaintTimer_->isActive()) return;
    const auto since = std::chrono::steady_clock::now() - lastRepaint_;
    if (since >= RepaintPause) RepaintNow();
    else repaintTimer_->start(std::chrono::duration_cast<std::chrono::milliseconds>(RepaintPause - since));
}

void ResultListView::RepaintNow() {
    lastRepaint_ = std::chrono::steady_clock::now();
    viewport()->update();
}

void ResultListView::FollowNow() {
    const auto now = std::chrono::steady_clock::now();
    lastFollow_ = now;
    if (now - lastUserScroll_ < UserScrollRespite) return;
    if (rowToFollow_ < 0 || rowToFollow_ >= model()->rowCount()) return;
    const QModelIndex index = model()->index(rowToFollow_, 0);
    // The view lays out its rows in batches; one not reached yet has no
    // place to scroll to, so it is tried again after the pause.
    if (!visualRect(index).isValid()) {
        followTimer_->start(FollowPause);
        return;
    }
    scrollTo(index, QAbstractItemView::EnsureVisible);
}

}  // namespace velmar
