#include "report/ReportJob.h"

#include "report/Report.h"

namespace velmar {

OpenFileRequest SaveReportRequest() {
    return {.title = "Save Report",
            .filter = "Text (*.txt)|*.txt|CSV (*.csv)|*.csv|JSON (*.json)|*.json|Web page (*.html)|*.html;*.htm|"
                      "All files (*.*)|*.*",
            .filterIndex = 1,
            .multiple = false};
}

std::string SuggestedReportName(const std::string& listPath) { return listPath + " report.txt"; }

void SaveReportJob::Body(JobFrame& frame) {
    frame.State().Busy = 1;
    frame.Window().SetBusyCursor(true);
    const auto refused = SaveReport(path_, *rows_, {.summary = RowsSummary(*rows_), .list = rows_->CheckedList()});
    frame.Window().MessageBox(refused ? *refused : "Report Saved", MessageButtons::Ok);
    frame.Finish();
}

}  // namespace velmar
