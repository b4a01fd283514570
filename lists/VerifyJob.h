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
// The list in state.CommandLinePath; a bare name lies in ".".
void RunCommandLineVerify(JobFrame& frame, const ListKind& kind);

// The verification job of a kind, from the menu or from the command line
// and a drop.
class VerifyListJob : public FrameJob {
public:
    VerifyListJob(MainWindow& window, MainWindowState& state, const ListKind& kind, ReadPurpose purpose)
        : FrameJob(window, state), kind_(kind), purpose_(purpose) {}

protected:
    void Body(JobFrame& frame) override {
        if (purpose_ == ReadPurpose::CommandLineVerify) RunCommandLineVerify(frame, kind_);
        else RunMenuVerify(frame, kind_);
    }

private:
    const ListKind& kind_;
    ReadPurpose purpose_;
};

}  // namespace velmar
