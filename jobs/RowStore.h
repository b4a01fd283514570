// The result rows as the window holds them: a name, a mark and the details
// of each. The names and details lie end to end in blocks of a fixed size,
// each as its length and its bytes, and a row is two places in them and a
// mark: a million rows cost their bytes and twelve more each, not a string
// each. Growing never copies what is there (a copy of many megabytes would
// stall the window), and copying the whole store, for a report written
// elsewhere, is a few large copies.
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
    // The details as AppendPacked packed them, kept as they are but for a
    // path that is the row's usual one.
    void SetPackedDetails(int row, std::string_view packed);
    // `rows` in row order.
    void Remove(const std::vector<int>& rows);

    int Count() const { return static_cast<int>(rows_.size()); }
    // The name as listed, byte for byte.
    std::string_view Name(int row) const { return Text(rows_[Slot(row)].name); }
    StatusIcon Icon(int row) const { return rows_[Slot(row)].icon; }
    // Empty details for a row no job has told of.
    RowDetails Details(int row) const;
    // The list the rows were checked against; "" until they are. And its
    // signature's words, "" for none.
    const std::string& CheckedList() const { return checkedList_; }
    const std::string& ListSignature() const { return listSignature_; }
    void SetCheckedList(std::string listPath, std::string signature = {});

private:
    // Where a text lies: its block in the high bits, where in the block in
    // the low ones. A renamed row or new details leave the old bytes where
    // they are.
    using Place = std::uint32_t;
    static constexpr int OffsetBits = 20;
    static constexpr std::size_t BlockSize = std::size_t{1} << OffsetBits;
    static constexpr std::size_t MaxBlocks = (std::size_t{1} << (32 - OffsetBits)) - 1;
    static constexpr Place NoDetails = UINT32_MAX;  // in the one block never made
    struct Row {
        Place name;
        Place details;
        StatusIcon icon;
    };
    static std::size_t Slot(int row) { return static_cast<std::size_t>(row); }
    // Where the row's name leads from the checked list's folder.
    std::string UsualPath(int row) const;
    Place Stored(std::string_view text);
    std::string_view Text(Place place) const;
    std::deque<std::string> blocks_;
    std::deque<Row> rows_;
    std::string checkedList_;
    std::string listSignature_;
    std::string listDirectory_;  // the checked list's folder, where most rows' files are
    std::string unpathed_;       // details being stored without their path
};

}  // namespace velmar
