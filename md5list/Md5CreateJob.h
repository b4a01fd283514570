// The job go! starts after Create MD5: every listed file's digest, one line
// each, into the list named in Edit1 beside the files.
#pragma once

#include "jobs/JobFrame.h"
#include "platform/WorkerThread.h"

namespace velmar {

// The job's body, run synchronously on whatever thread calls it.
void RunMd5Creation(JobFrame& frame);

class TMyThread5 : public WorkerThread {
public:
    TMyThread5(MainWindow& window, MainWindowState& state) : window_(window), state_(state) {}

protected:
    void Execute() override;

private:
    MainWindow& window_;
    MainWindowState& state_;
};

}  // namespace velmar
