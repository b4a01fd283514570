#include "jobs/RowStore.h"

#include <algorithm>
#include <charconv>

#include "jobs/RowRemoval.h"

namespace velmar {
namespace {

// The details as one text: their fields apart by NUL bytes, which no name,
// digest or reason holds.
constexpr char FieldEnd = '\0';

std::string Packed(const RowDetails& details) {
    std::string packed;
    for (const std::string* field : {&details.path, &details.expected, &details.computed}) {
        packed += *field;
        packed += FieldEnd;
    }
    if (details.size) packed += std::to_string(*details.size);
    packed += FieldEnd;
    packed += details.reason;
    packed += FieldEnd;
    packed += details.movedTo;
    return packed;
}

RowDetails Unpacked(std::string_view packed) {
    RowDetails details;
    std::string size;
    std::string* fields[] = {&details.path, &details.expected, &details.computed, &size, &details.reason,
                             &details.movedTo};
    std::size_t field = 0;
    for (char c : packed) {
        if (c == FieldEnd && field + 1 < std::size(fields)) ++field;
        else fields[field]->push_back(c);
    }
    std::uint64_t value = 0;
    if (!size.empty() && std::from_chars(size.data(), size.data() + size.size(), value).ec == std::errc())
        details.size = value;
    return details;
}

}  // namespace

void RowStore::Clear() {
    rows_.clear();
    blocks_.clear();
    checkedList_.clear();
}

RowStore::Span RowStore::Stored(std::string_view text) {
    if (text.empty()) return {};
    // A text longer than a block gets a block of its own.
    if (blocks_.empty() || blocks_.back().size() + text.size() > blocks_.back().capacity()) {
        blocks_.emplace_back();
        blocks_.back().reserve(std::max(BlockSize, text.size()));
    }
    std::string& block = blocks_.back();
    const Span span{static_cast<std::uint32_t>(blocks_.size() - 1), static_cast<std::uint32_t>(block.size()),
                    static_cast<std::uint32_t>(text.size())};
    block.append(text);
    return span;
}

void RowStore::Add(std::string_view name, StatusIcon icon) { rows_.push_back(Row{Stored(name), {}, icon}); }

void RowStore::SetName(int row, std::string_view name) { rows_[Slot(row)].name = Stored(name); }

void RowStore::SetDetails(int row, const RowDetails& details) { rows_[Slot(row)].details = Stored(Packed(details)); }

RowDetails RowStore::Details(int row) const { return Unpacked(Text(rows_[Slot(row)].details)); }

void RowStore::Remove(const std::vector<int>& rows) { RemoveRowsAt(rows_, rows); }

}  // namespace velmar
