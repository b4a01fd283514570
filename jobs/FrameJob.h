// The base of every list job: a worker thread whose body runs over one
// frame of the main window.
#pragma once

#include "jobs/JobFrame.h"
#include "platform/WorkerThread.h"

namespace velmar {

class FrameJob : public WorkerThread {
public:
    FrameJob(MainWindow& window, MainWindowState& state) : window_(window), state_(state) {}

protected:
    virtual void Body(JobFrame& frame) = 0;

private:
    void Execute() final {
        JobFrame frame(window_, state_);
        Body(frame);
    }

    MainWindow& window_;
    MainWindowState& state_;
};

}  // namespace velmar
