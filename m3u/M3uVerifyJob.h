// Verify M3U: the user picks a playlist, every listed file's MD5 is checked
// against its digest line, the tally is shown and bad files may be renamed.
#pragma once

#include "jobs/FrameJob.h"
#include "jobs/JobFrame.h"

namespace velmar {

// The job's body, run synchronously on whatever thread calls it.
void RunM3uVerify(JobFrame& frame);

class TMyThread6 : public FrameJob {
public:
    using FrameJob::FrameJob;

protected:
    void Body(JobFrame& frame) override { RunM3uVerify(frame); }
};

}  // namespace velmar
