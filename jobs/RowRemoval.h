// Taking rows out of a table of rows, in one pass however many go.
#pragma once

#include <cstddef>
#include <vector>

namespace velmar {

// Removes the rows at `removed` (in row order) from `rows`, a vector or a
// deque, the rest keeping their order.
template <class Rows>
void RemoveRowsAt(Rows& rows, const std::vector<int>& removed) {
    std::size_t kept = 0;
    auto next = removed.begin();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (next != removed.end() && static_cast<std::size_t>(*next) == row) {
            ++next;
            continue;
        }
        if (kept != row) rows[kept] = rows[row];
        ++kept;
    }
    rows.resize(kept);
}

}  // namespace velmar
