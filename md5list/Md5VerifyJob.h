// Verify MD5: the user picks a list, every listed file is checked, the
// tally is shown and the bad files may be renamed.
#pragma once

#include "jobs/JobFrame.h"
#include "platform/WorkerThread.h"

namespace velmar {

// The job's body, run synchronously on whatever thread calls it.
void RunMd5Verify(JobFrame& frame);

class TMyThread4 : public WorkerThread {
public:
    TMyThread4(MainWindow& window, MainWindowState& state) : window_(window), state_(state) {}

protected:
    void Execute() override;

private:
    MainWindow& window_;
    MainWindowState& state_;
};

}  // namespace velmar
