// File > Save Report: the rows as they were when it was chosen, written as a
// job so that a long list never holds the window.
#pragma once

#include <memory>
#include <string>

#include "jobs/JobFrame.h"
#include "jobs/RowStore.h"

namespace velmar {

// The name a report of the rows checked against `listPath` is first offered
// under: the list's, with " report.txt".
std::string SuggestedReportName(const std::string& listPath);

// Writes `rows` as the name `path` asks for and tells "Report Saved", or
// why it could not.
void SaveReportOf(JobFrame& frame, const std::string& path, const RowStore& rows);

}  // namespace velmar
