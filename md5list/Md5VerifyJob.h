// Verify MD5: the user picks a list, every listed file is checked, the
// tally is shown and the bad files may be renamed.
#pragma once

#include "jobs/FrameJob.h"
#include "jobs/JobFrame.h"

namespace velmar {

// The job's body, run synchronously on whatever thread calls it.
void RunMd5Verify(JobFrame& frame);

class TMyThread4 : public FrameJob {
public:
    using FrameJob::FrameJob;

protected:
    void Body(JobFrame& frame) override { RunMd5Verify(frame); }
};

}  // namespace velmar
