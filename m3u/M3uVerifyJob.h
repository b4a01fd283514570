// Verify M3U: the user picks a playlist, every listed file's MD5 is checked
// against its digest line, the tally is shown and bad files may be renamed.
#pragma once

#include "jobs/JobFrame.h"
#include "platform/WorkerThread.h"

namespace velmar {

// The job's body, run synchronously on whatever thread calls it.
void RunM3uVerify(JobFrame& frame);

class TMyThread6 : public WorkerThread {
public:
    TMyThread6(MainWindow& window, MainWindowState& state) : window_(window), state_(state) {}

protected:
    void Execute() override;

private:
    MainWindow& window_;
    MainWindowState& state_;
};

}  // namespace velmar
