#include "jobs/RowStore.h"

#include <algorithm>
#include <charconv>

#include "jobs/RowRemoval.h"
#include "platform/Paths.h"

namespace velmar {
namespace {

// The details as one text: their fields apart by NUL bytes, which no name,
// digest or reason holds. Most rows' files are where their names lead from
// the list's folder, and most digests computed are the ones expected: such
// a field is one byte that no path or digest is, and a million rows cost
// some 20 bytes each rather than a hundred or more.
constexpr char FieldEnd = '\0';
constexpr std::string_view AsExpected = "\x01";

std::string Packed(const RowDetails& details, const std::string& usualPath) {
    std::string packed;
    packed += details.path == usualPath ? AsExpected : std::string_view(details.path);
    packed += FieldEnd;
    packed += details.expected;
    packed += FieldEnd;
    packed += !details.expected.empty() && details.computed == details.expected ? AsExpected
                                                                                 : std::string_view(details.computed);
    packed += FieldEnd;
    if (details.size) packed += std::to_string(*details.size);
    packed += FieldEnd;
    packed += details.reason;
    packed += FieldEnd;
    packed += details.movedTo;
    return packed;
}

RowDetails Unpacked(std::string_view packed, const std::string& usualPath) {
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
    if (details.path == AsExpected) details.path = usualPath;
    if (details.computed == AsExpected) details.computed = details.expected;
    return details;
}

}  // namespace

void RowStore::Clear() {
    rows_.clear();
    blocks_.clear();
    checkedList_.clear();
    listDirectory_.clear();
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

void RowStore::SetCheckedList(std::string listPath) {
    checkedList_ = AbsolutePath(listPath);
    listDirectory_ = ListDirectoryOf(checkedList_);
}

std::string RowStore::UsualPath(int row) const {
    return checkedList_.empty() ? std::string() : ListedFilePath(listDirectory_, Name(row));
}

void RowStore::SetDetails(int row, const RowDetails& details) {
    rows_[Slot(row)].details = Stored(Packed(details, UsualPath(row)));
}

RowDetails RowStore::Details(int row) const {
    const Span& packed = rows_[Slot(row)].details;
    if (packed.length == 0) return {};
    return Unpacked(Text(packed), UsualPath(row));
}

void RowStore::Remove(const std::vector<int>& rows) { RemoveRowsAt(rows_, rows); }

}  // namespace velmar
