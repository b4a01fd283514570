// The result rows as the window holds them: a name, a mark and the details
// of each. The names and details lie end to end in blocks of a fixed size, so
// a million rows cost their bytes and a few more, not a string each; growing
// never copies what is there (a copy of many megabytes would stall the
// window), and copying the whole store, for a report written elsewhere, is
// a few large copies.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/JobEvents.h"
#include "jobs/RowDetails.h"

namespace velmar {

class RowStore {
public:
    void Clear();
    void Add(std::string_view name, StatusIcon icon);
    void SetIcon(int row, StatusIcon icon) { rows_[Slot(row)].icon = icon; }
    void SetName(int row, std::string_view name);
    void SetDetails(int row, const RowDetails& details);
    // `rows` in row order.
    void Remove(const std::vector<int>& rows);

    int Count() const { return static_cast<int>(rows_.size()); }
    // The name as listed, byte for byte.
    std::string_view Name(int row) const { return Text(rows_[Slot(row)].name); }
    StatusIcon Icon(int row) const { return rows_[Slot(row)].icon; }
    // Empty details for a row no job has told of.
    RowDetails Details(int row) const;
    // The list the rows were checked against; "" until they are.
    const std::string& CheckedList() const { return checkedList_; }
    void SetCheckedList(std::string listPath);

private:
    // Bytes in the blocks; a renamed row or new details leave the old bytes
    // where they are.
    struct Span {
        std::uint32_t block = 0, offset = 0, length = 0;
    };
    struct Row {
        Span name;
        Span details;
        StatusIcon icon;
    };
    static constexpr std::size_t BlockSize = 1 << 20;
    static std::size_t Slot(int row) { return static_cast<std::size_t>(row); }
    // Where the row's name leads from the checked list's folder.
    std::string UsualPath(int row) const;
    Span Stored(std::string_view text);
    std::string_view Text(const Span& span) const {
        return span.length == 0 ? std::string_view() : std::string_view(blocks_[span.block]).substr(span.offset, span.length);
    }
    std::deque<std::string> blocks_;
    std::deque<Row> rows_;
    std::string checkedList_;
    std::string listDirectory_;  // the checked list's folder, where most rows' files are
};

}  // namespace velmar
