// The job go! starts after Create MD5: every listed file's digest, one line
// each, into the list named in Edit1 beside the files.
#pragma once

#include "jobs/FrameJob.h"
#include "jobs/JobFrame.h"

namespace velmar {

// The job's body, run synchronously on whatever thread calls it.
void RunMd5Creation(JobFrame& frame);

class TMyThread5 : public FrameJob {
public:
    using FrameJob::FrameJob;

protected:
    void Body(JobFrame& frame) override { RunMd5Creation(frame); }
};

}  // namespace velmar
