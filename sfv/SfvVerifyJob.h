// Verifying an SFV list: the command-line and drop job, and the job the
// menu starts, which asks for its list first.
#pragma once

#include <string>

#include "jobs/JobFrame.h"
#include "platform/WorkerThread.h"
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
class TMyThread : public WorkerThread {
public:
    TMyThread(MainWindow& window, MainWindowState& state) : window_(window), state_(state) {}

protected:
    void Execute() override;

private:
    MainWindow& window_;
    MainWindowState& state_;
};

// SFV > Verify SFV.
class TMyThread3 : public WorkerThread {
public:
    TMyThread3(MainWindow& window, MainWindowState& state) : window_(window), state_(state) {}

protected:
    void Execute() override;

private:
    MainWindow& window_;
    MainWindowState& state_;
};

}  // namespace velmar
