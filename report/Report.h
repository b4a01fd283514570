// The report of a checked list: every row with its details, and the
// summary, in the format its file's name asks for.
#pragma once

#include <optional>
#include <string>

#include "jobs/JobFrame.h"
#include "jobs/RowStore.h"

namespace velmar {

enum class ReportFormat {
    Text,  // md5sum -c's lines ("NAME: OK"), then the summary
    Csv,   // name,status,expected,computed,size,reason; quoted as RFC 4180 quotes
    Json,  // one object per row, one per line, then one for the summary
    Html,  // a page of its own: the summary, then a table, problems first
};

// By the name's extension, in any letter case: .csv, .json, .html or .htm;
// anything else is text.
ReportFormat ReportFormatOf(const std::string& path);

struct ReportHeading {
    std::string summary;  // the window's words: "OK:3  BAD:1  N/A:0", and the list's signature's
    std::string list;     // the list checked
};

// The marks of the rows counted: the summary's tallies, and the rows no
// pass reached.
struct RowCounts {
    Tallies tallies;
    int pending = 0;
};
RowCounts RowTallies(const RowStore& rows);

// The JSON report's line for a row, and for the summary: one object each.
std::string JsonRowLine(std::string_view name, StatusIcon icon, const RowDetails& details, const std::string& list);
std::string JsonSummaryLine(const RowCounts& counts, const ReportHeading& heading);

// The window's summary of the rows: an audit's when any is new or moved.
std::string RowsSummary(const RowStore& rows);

std::string ReportText(ReportFormat format, const RowStore& rows, const ReportHeading& heading);

// Writes the report through a hidden file that takes the target's place
// only once written whole. The reason it could not, or nothing.
std::optional<std::string> SaveReport(const std::string& path, const RowStore& rows, const ReportHeading& heading);

}  // namespace velmar
