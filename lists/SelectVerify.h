// Select-verify of any kind: the load that fills the rows and the expected
// digests, on the UI thread, and the check go! makes of the selected rows,
// run as a job so that a large file never holds the window.
#pragma once

#include <string>

#include "jobs/FrameJob.h"
#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"
#include "lists/ListKind.h"

namespace velmar {

// One pending row and one expected digest per entry, from index 0. Unusable
// lists end the program as the kind's verification does.
void LoadSelectVerify(MainWindow& window, MainWindowState& state, const ListKind& kind, const std::string& listPath);

// Each selected row's file, ListDirectory + the row's text, against the
// expected digest at the row's index; the files are read again on every
// press. A row without an expected digest never matches.
void CheckSelectedRows(JobFrame& frame, const ListKind& kind);

class SelectVerifyJob : public FrameJob {
public:
    SelectVerifyJob(MainWindow& window, MainWindowState& state, const ListKind& kind)
        : FrameJob(window, state), kind_(kind) {}

protected:
    void Body(JobFrame& frame) override { CheckSelectedRows(frame, kind_); }

private:
    const ListKind& kind_;
};

}  // namespace velmar
