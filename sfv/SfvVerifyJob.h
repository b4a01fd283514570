// Verifying an SFV list: the command-line and drop job, and the job the
// menu starts, which asks for its list first.
#pragma once

#include <string>

#include "jobs/FrameJob.h"
#include "jobs/JobFrame.h"
#include "sfv/SfvLine.h"

namespace velmar {

// Reads the list, one pending row per entry, checks every row, shows the
// tallies and offers to rename the bad files.
void VerifySfvList(JobFrame& frame, const std::string& listPath, const std::string& listDirectory,
                   SfvChecksumPolicy policy);

// The list in state.CommandLinePath; a bare name lies in ".".
void RunCommandLineSfvVerify(JobFrame& frame);
// The list the user picks; a cancel ends the job with nothing busy.
void RunMenuSfvVerify(JobFrame& frame);

// The command-line and drop job.
class TMyThread : public FrameJob {
public:
    using FrameJob::FrameJob;

protected:
    void Body(JobFrame& frame) override { RunCommandLineSfvVerify(frame); }
};

// SFV > Verify SFV.
class TMyThread3 : public FrameJob {
public:
    using FrameJob::FrameJob;

protected:
    void Body(JobFrame& frame) override { RunMenuSfvVerify(frame); }
};

}  // namespace velmar
