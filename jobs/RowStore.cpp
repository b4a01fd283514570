#include "jobs/RowStore.h"

#include <algorithm>
#include <stdexcept>

#include "jobs/PackedDetails.h"
#include "jobs/PackedNumber.h"
#include "jobs/RowRemoval.h"
#include "platform/Paths.h"

namespace velmar {

void RowStore::Clear() {
    rows_.clear();
    blocks_.clear();
    checkedList_.clear();
    listSignature_.clear();
    listDirectory_.clear();
}

RowStore::Place RowStore::Stored(std::string_view text) {
    std::string length;
    PutNumber(length, text.size());
    const std::size_t bytes = length.size() + text.size();
    // A text longer than a block gets a block of its own, so that every
    // place in a block fits its bits.
    if (blocks_.empty() || blocks_.back().size() + bytes > BlockSize) {
        if (blocks_.size() == MaxBlocks) throw std::length_error("too many rows to hold");
        blocks_.emplace_back();
        blocks_.back().reserve(std::max(BlockSize, bytes));
    }
    std::string& block = blocks_.back();
    const auto place = static_cast<Place>((blocks_.size() - 1) << OffsetBits | block.size());
    block.append(length);
    block.append(text);
    return place;
}

std::string_view RowStore::Text(Place place) const {
    std::string_view at = blocks_[place >> OffsetBits];
    at.remove_prefix(place & (BlockSize - 1));
    return TakeText(at);
}

void RowStore::Add(std::string_view name, StatusIcon icon) { rows_.push_back(Row{Stored(name), NoDetails, icon}); }

void RowStore::SetName(int row, std::string_view name) { rows_[Slot(row)].name = Stored(name); }

void RowStore::SetCheckedList(std::string listPath, std::string signature) {
    checkedList_ = AbsolutePath(listPath);
    listSignature_ = std::move(signature);
    listDirectory_ = ListDirectoryOf(checkedList_);
}

std::string RowStore::UsualPath(int row) const {
    return checkedList_.empty() ? std::string() : ListedFilePath(listDirectory_, Name(row));
}

void RowStore::SetDetails(int row, const RowDetails& details) {
    std::string packed;
    AppendPacked(packed, details);
    SetPackedDetails(row, packed);
}

void RowStore::SetPackedDetails(int row, std::string_view packed) {
    const std::string_view path = PackedPath(packed);
    const bool usual = checkedList_.empty() ? path.empty() : IsListedFilePath(path, listDirectory_, Name(row));
    if (!usual) {
        rows_[Slot(row)].details = Stored(packed);
        return;
    }
    unpathed_.clear();
    AppendWithoutPath(unpathed_, packed);
    rows_[Slot(row)].details = Stored(unpathed_);
}

RowDetails RowStore::Details(int row) const {
    const Place packed = rows_[Slot(row)].details;
    if (packed == NoDetails) return {};
    return Unpacked(Text(packed), UsualPath(row));
}

void RowStore::Remove(const std::vector<int>& rows) { RemoveRowsAt(rows_, rows); }

}  // namespace velmar
