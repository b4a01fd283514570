// File > Save Report: the rows as they were when it was chosen, written on
// a worker so that a long list never holds the window.
#pragma once

#include <memory>
#include <string>

#include "jobs/FrameJob.h"
#include "jobs/RowStore.h"

namespace velmar {

// What the Save dialog offers: text first, then CSV, JSON, a web page.
OpenFileRequest SaveReportRequest();
// The name it proposes: the list's, with " report.txt".
std::string SuggestedReportName(const std::string& listPath);

class SaveReportJob : public FrameJob {
public:
    SaveReportJob(MainWindow& window, MainWindowState& state, const std::string& path,
                  const std::shared_ptr<const RowStore>& rows)
        : FrameJob(window, state), path_(path), rows_(rows) {}

protected:
    void Body(JobFrame& frame) override;

private:
    std::string path_;
    std::shared_ptr<const RowStore> rows_;
};

}  // namespace velmar
