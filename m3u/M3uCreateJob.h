// Writing a new playlist for the files a Create M3U command chose: the
// header, the comment block, then a digest line and a name line per file.
#pragma once

#include "jobs/FrameJob.h"
#include "jobs/JobFrame.h"
#include "sfv/CommentBlocks.h"

namespace velmar {

// `fileTime` gives the time a file-info line shows; empty uses the file's
// own creation time. Every listed file must be read whole: one that cannot
// be opened or read ends the program with "Error Reading File.. Exiting"
// rather than record a digest it did not compute. A name holding a line end
// cannot stand on a name line: the job then ends with "Error writing to
// file" before the playlist is created or emptied.
void RunM3uCreation(JobFrame& frame, const FileTimeOf& fileTime = {});

class TMyThread7 : public FrameJob {
public:
    using FrameJob::FrameJob;

protected:
    void Body(JobFrame& frame) override { RunM3uCreation(frame); }
};

}  // namespace velmar
