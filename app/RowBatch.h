// Rows a job added and marked, in the order it told them, carried to the
// window in one piece: the names and the packed details lie end to end in
// one text, so a batch of thousands of rows is two allocations, not a few
// for every row.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/JobEvents.h"
#include "jobs/PackedDetails.h"

namespace velmar {

class RowBatch {
public:
    struct Step {
        int row;  // -1 for a row added at the end, pending
        StatusIcon icon;
        bool deselect;          // the row marked is also deselected
        std::string_view text;  // the name added, or the details packed ("" to keep the row's own)
    };

    void Add(std::string_view name) {
        texts_.append(name);
        steps_.push_back({-1, IconPending, false, End()});
    }
    void Mark(int row, StatusIcon icon, const RowDetails* details, bool deselect) {
        if (details) AppendPacked(texts_, *details);
        steps_.push_back({row, icon, deselect, End()});
    }

    bool Empty() const { return steps_.empty(); }
    std::size_t Steps() const { return steps_.size(); }
    std::size_t Bytes() const { return texts_.size(); }

    template <class Visit>
    void ForEach(Visit visit) const {
        std::uint32_t begin = 0;
        for (const Stored& step : steps_) {
            visit(Step{step.row, step.icon, step.deselect, std::string_view(texts_).substr(begin, step.end - begin)});
            begin = step.end;
        }
    }

private:
    struct Stored {
        int row;
        StatusIcon icon;
        bool deselect;
        std::uint32_t end;  // where its text ends in texts_
    };
    std::uint32_t End() const { return static_cast<std::uint32_t>(texts_.size()); }
    std::vector<Stored> steps_;
    std::string texts_;
};

}  // namespace velmar
