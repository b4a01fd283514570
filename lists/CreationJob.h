// Writing a new list of any kind for the files a Create command chose.
#pragma once

#include <ctime>
#include <functional>

#include "jobs/FrameJob.h"
#include "jobs/JobFrame.h"
#include "lists/ListKind.h"

namespace velmar {

// Where the job takes its times from. Empty members use the real clock and
// the files' own creation times.
struct ListTimes {
    std::function<std::time_t()> now;
    FileTimeOf fileTime;
};

// The kind's header, its comment block, one entry per row, into the list
// named in Edit1 beside the files. Every listed file must be read whole:
// one that cannot be opened or read ends the program with "Error Reading
// File.. Exiting" rather than record a digest it did not compute. A name the
// kind cannot carry (go! refuses it before the job), a list that cannot be
// created or put in place, a disk without room for the entries, all before
// any file is read, and a list that did not reach the disk whole end it
// with "Error writing to file", never the completion message. A stop ends
// it where it is, with no list written.
void RunCreation(JobFrame& frame, const ListKind& kind, const ListTimes& times = {});

class CreateListJob : public FrameJob {
public:
    CreateListJob(MainWindow& window, MainWindowState& state, const ListKind& kind)
        : FrameJob(window, state), kind_(kind) {}

protected:
    void Body(JobFrame& frame) override { RunCreation(frame, kind_); }

private:
    const ListKind& kind_;
};

}  // namespace velmar
