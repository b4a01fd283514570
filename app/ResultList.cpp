#include "app/ResultList.h"

#include <algorithm>
#include <utility>

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include "report/RowWords.h"

namespace velmar {

namespace {

bool IsProblem(StatusIcon icon) { return icon != IconOk && icon != IconPending; }

QString FromBytes(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace

int ResultRows::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return problemsOnly_ ? static_cast<int>(problems_.size()) : shown_;
}

int ResultRows::StoreRow(int viewRow) const {
    return problemsOnly_ ? problems_[static_cast<std::size_t>(viewRow)] : viewRow;
}

QModelIndex ResultRows::IndexOfRow(int row) const {
    if (!problemsOnly_) return row < shown_ ? index(row) : QModelIndex();
    const auto at = std::lower_bound(problems_.begin(), problems_.end(), row);
    return at != problems_.end() && *at == row ? index(static_cast<int>(at - problems_.begin())) : QModelIndex();
}

QVariant ResultRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const int row = StoreRow(index.row());
    switch (role) {
        case Qt::DisplayRole: return FromBytes(store_->Name(row));
        case StatusRole: return static_cast<int>(store_->Icon(row));
        case Qt::ToolTipRole: return FromBytes(DetailsText(store_->Name(row), store_->Icon(row), store_->Details(row)));
        default: return {};
    }
}

void ResultRows::Clear() {
    beginResetModel();
    // Rows a reader holds stay its own; the window starts afresh.
    if (store_.use_count() > 1) store_ = std::make_shared<RowStore>();
    else store_->Clear();
    shown_ = 0;
    problems_.clear();
    markedFrom_ = INT32_MAX;
    markedTo_ = -1;
    endResetModel();
}

void ResultRows::Add(std::string_view name, StatusIcon icon) {
    Owned().Add(name, icon);
    if (IsProblem(icon)) Marked(Count() - 1);
    if (!batch_) EndBatch();
}

void ResultRows::SetName(int row, std::string_view name) {
    if (row < 0 || row >= Count()) return;
    Owned().SetName(row, name);
    if (const QModelIndex shown = IndexOfRow(row); shown.isValid()) emit dataChanged(shown, shown);
}

void ResultRows::Remove(const std::vector<int>& rows) {
    if (rows.empty()) return;
    // One reset for any number of rows: removing them one by one from a long
    // list would move its rows once per removal.
    beginResetModel();
    Owned().Remove(rows);
    shown_ = std::min(shown_, Count());
    if (problemsOnly_) problems_ = Problems(0, Count() - 1);
    endResetModel();
}

void ResultRows::EndBatch() {
    batch_ = false;
    if (problemsOnly_) {
        shown_ = Count();
        Refilter();
        return;
    }
    if (shown_ == Count()) return;
    // The rows are in place already; the view asks for them only after the
    // insertion ends, and until then counts the rows it was told of.
    beginInsertRows(QModelIndex(), shown_, Count() - 1);
    shown_ = Count();
    endInsertRows();
}

void ResultRows::SetIcon(int row, StatusIcon icon) {
    if (row < 0 || row >= Count()) return;
    Owned().SetIcon(row, icon);
    Marked(row);
    // The view repaints when the job asks for it; no signal per icon.
}

std::vector<int> ResultRows::Problems(int from, int to) const {
    std::vector<int> rows;
    for (int row = from; row <= to && row < Count(); ++row)
        if (IsProblem(store_->Icon(row))) rows.push_back(row);
    return rows;
}

void ResultRows::ShowProblemsOnly(bool only) {
    if (only == problemsOnly_) return;
    beginResetModel();
    problemsOnly_ = only;
    problems_ = only ? Problems(0, Count() - 1) : std::vector<int>();
    shown_ = Count();
    markedFrom_ = INT32_MAX;
    markedTo_ = -1;
    endResetModel();
}

void ResultRows::Refilter() {
    if (!problemsOnly_ || markedFrom_ > markedTo_) return;
    const int from = std::exchange(markedFrom_, INT32_MAX);
    const int to = std::exchange(markedTo_, -1);
    // Only the rows marked since are looked at again. A job marks its rows
    // from the top, and a row seldom stops being a problem, so most often
    // the problems among them are those shown and a few more after them.
    const auto begin = std::lower_bound(problems_.begin(), problems_.end(), from);
    const auto end = std::upper_bound(begin, problems_.end(), to);
    const std::vector<int> now = Problems(from, to);
    const auto shown = static_cast<std::size_t>(end - begin);
    if (shown > now.size() || !std::equal(begin, end, now.begin())) {
        beginResetModel();
        problems_.insert(problems_.erase(begin, end), now.begin(), now.end());
        endResetModel();
        return;
    }
    if (shown == now.size()) return;
    const int first = static_cast<int>(end - problems_.begin());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(now.size() - shown) - 1);
    problems_.insert(end, now.begin() + static_cast<std::ptrdiff_t>(shown), now.end());
    endInsertRows();
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
    // A long name loses its middle, where two names of a set differ least.
    const QString text = QFontMetrics(option.font).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideMiddle,
                                                               textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

QSize ResultRowPainter::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const { return {0, RowHeight}; }

ResultListView::ResultListView(ResultRows& rows, const StatusPictures& pictures, QWidget* parent)
    : QListView(parent), rows_(rows) {
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

    // The row's menu: its line, or all it tells (a checked file's digests).
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("&Copy"), this);
    connect(copy, &QAction::triggered, this, [this] { CopyRows(false); });
    auto* copyDetails = new QAction(QStringLiteral("Copy &Details"), this);
    connect(copyDetails, &QAction::triggered, this, [this] { CopyRows(true); });
    addActions({copy, copyDetails});
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
    rows_.Refilter();
    viewport()->update();
}

void ResultListView::keyPressEvent(QKeyEvent* event) {
    if (!event->matches(QKeySequence::Copy)) {
        QListView::keyPressEvent(event);
        return;
    }
    CopyRows(false);
}

void ResultListView::CopyRows(bool details) {
    QModelIndexList chosen = selectionModel()->selectedIndexes();
    std::sort(chosen.begin(), chosen.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::string lines;
    const RowStore& store = rows_.Store();
    for (const QModelIndex& index : chosen) {
        const int row = rows_.StoreRow(index.row());
        if (details && !lines.empty()) lines += '\n';
        lines += details ? DetailsText(store.Name(row), store.Icon(row), store.Details(row))
                         : SumToolLine(store.Name(row), store.Icon(row), store.Details(row));
        lines += '\n';
    }
    QGuiApplication::clipboard()->setText(FromBytes(lines));
}

void ResultListView::FollowNow() {
    const auto now = std::chrono::steady_clock::now();
    lastFollow_ = now;
    if (now - lastUserScroll_ < UserScrollRespite) return;
    // A row the view does not show (a problems-only view) is not followed.
    const QModelIndex index = rows_.IndexOfRow(rowToFollow_);
    if (!index.isValid()) return;
    // The view lays out its rows in batches; one not reached yet has no
    // place to scroll to, so it is tried again after the pause.
    if (!visualRect(index).isValid()) {
        followTimer_->start(FollowPause);
        return;
    }
    scrollTo(index, QAbstractItemView::EnsureVisible);
}

}  // namespace velmar
