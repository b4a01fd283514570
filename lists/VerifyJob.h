// Verifying a list of any kind: every listed file checked, the tallies
// shown, the bad files renamed on request.
#pragma once

#include <string>

#include "jobs/FrameJob.h"
#include "jobs/JobFrame.h"
#include "lists/ListKind.h"

namespace velmar {

// Reads the list, one pending row per entry, checks every row, shows the
// tallies and offers to rename the bad files. Each file is renamed under
// its name exactly as listed.
void VerifyList(JobFrame& frame, const ListKind& kind, const std::string& listPath, const std::string& listDirectory,
                ReadPurpose purpose);

// The list the user picks; a cancel ends the job with nothing busy.
void RunMenuVerify(JobFrame& frame, const ListKind& kind);

// The list in state.CommandLinePath, read as `kindOf` tells; a bare name
// lies in ".".
void RunCommandLineVerify(JobFrame& frame, KindOfList kindOf);

// The verification job of a kind from its menu.
class VerifyListJob : public FrameJob {
public:
    VerifyListJob(MainWindow& window, MainWindowState& state, const ListKind& kind) : FrameJob(window, state), kind_(kind) {}

protected:
    void Body(JobFrame& frame) override { RunMenuVerify(frame, kind_); }

private:
    const ListKind& kind_;
};

// The verification of a list named on the command line or dropped.
class CommandLineVerifyJob : public FrameJob {
public:
    CommandLineVerifyJob(MainWindow& window, MainWindowState& state, KindOfList kindOf)
        : FrameJob(window, state), kindOf_(kindOf) {}

protected:
    void Body(JobFrame& frame) override { RunCommandLineVerify(frame, kindOf_); }

private:
    KindOfList kindOf_;
};

}  // namespace velmar
