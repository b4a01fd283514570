// Writing a new SFV list for the files a Create SFV command chose.
#pragma once

#include <ctime>
#include <functional>

#include "jobs/FrameJob.h"
#include "jobs/JobFrame.h"
#include "sfv/CommentBlocks.h"

namespace velmar {

// Where the job takes its times from. Empty members use the real clock and
// the files' own creation times.
struct ListTimes {
    std::function<std::time_t()> now;
    FileTimeOf fileTime;
};

// Header, comment block, one entry line per row. Every listed file must be
// read whole: one that cannot be opened or read ends the program with
// "Error Reading File.. Exiting" rather than record a checksum it did not
// compute.
void RunSfvCreation(JobFrame& frame, const ListTimes& times = {});

class TMyThread2 : public FrameJob {
public:
    using FrameJob::FrameJob;

protected:
    void Body(JobFrame& frame) override { RunSfvCreation(frame); }
};

}  // namespace velmar
