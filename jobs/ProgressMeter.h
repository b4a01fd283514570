// What the progress bar shows of a running job: its position and a text
// such as "37%  412 MB/s  0:42 left". A job's work is its bytes plus a
// fixed share per file, so that a list of many small or missing files
// moves the bar as surely as one large file does; the speed shown is the
// bytes alone. Rates are taken over the last few seconds, so the text does
// not jump with every read.
#pragma once

#include <deque>
#include <string>

#include "jobs/JobProgress.h"

namespace velmar {

// The bar's range is 0 .. ProgressScale.
constexpr int ProgressScale = 1000;

struct ProgressReading {
    int position = 0;
    std::string text;

    bool operator==(const ProgressReading&) const = default;
};

class ProgressMeter {
public:
    // The reading at `seconds` on a steady clock; call it with times that
    // never go back. Until a file is sized the bar follows the rows done.
    ProgressReading Read(double seconds, const JobProgress& progress);

private:
    struct Sample {
        double seconds;
        double work;
        double bytes;
    };
    std::deque<Sample> samples_;
    double start_ = -1;
    int position_ = 0;  // the bar never goes back within a job
};

}  // namespace velmar
