#include "report/ReportJob.h"

#include "report/Report.h"

namespace velmar {

std::string SuggestedReportName(const std::string& listPath) { return listPath + " report.txt"; }

void SaveReportOf(JobFrame& frame, const std::string& path, const RowStore& rows) {
    // The summary as the status line said it, the list's signature after it.
    const auto refused = SaveReport(
        path, rows, {.summary = WithSignature(RowsSummary(rows), rows.ListSignature()), .list = rows.CheckedList()});
    frame.Sink().Told(refused ? *refused : "Report Saved");
}

}  // namespace velmar
