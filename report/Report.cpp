#include "report/Report.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>

#include "jobs/JobFrame.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ReplacementFile.h"
#include "platform/TextEncoding.h"
#include "report/RowWords.h"

namespace velmar {
namespace {

// One row as every format sees it.
struct ReportRow {
    std::string_view name;
    StatusIcon icon;
    RowDetails details;
};

void EachRow(const RowStore& rows, const std::function<void(const ReportRow&)>& write) {
    for (int row = 0; row < rows.Count(); ++row) {
        const RowDetails details = rows.Details(row);
        write({ListedName(rows.Name(row), rows.Icon(row), details), rows.Icon(row), details});
    }
}

std::string SizeText(const RowDetails& details) { return details.size ? std::to_string(*details.size) : ""; }

// RFC 4180: a field holding a comma, a quote or a line end is quoted, its
// quotes doubled.
void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendCsvRecord(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) out += ',';
        first = false;
        AppendCsvField(out, field);
    }
    out += "\r\n";
}

std::string CsvReport(const RowStore& rows, const ReportHeading& heading) {
    // Rows from several lists (a library) name each its list in a last field.
    bool lists = false;
    EachRow(rows, [&](const ReportRow& row) { lists = lists || !row.details.list.empty(); });
    std::string out;
    if (lists) AppendCsvRecord(out, {"name", "status", "expected", "computed", "size", "reason", "list"});
    else AppendCsvRecord(out, {"name", "status", "expected", "computed", "size", "reason"});
    EachRow(rows, [&](const ReportRow& row) {
        if (lists)
            AppendCsvRecord(out, {row.name, StatusWord(row.icon), row.details.expected, row.details.computed,
                                  SizeText(row.details), row.details.reason, row.details.list});
        else
            AppendCsvRecord(out, {row.name, StatusWord(row.icon), row.details.expected, row.details.computed,
                                  SizeText(row.details), row.details.reason});
    });
    // The summary closes the table as a record of its own, so that every
    // line has the same fields.
    if (lists) AppendCsvRecord(out, {heading.list, "SUMMARY", "", "", "", heading.summary, ""});
    else AppendCsvRecord(out, {heading.list, "SUMMARY", "", "", "", heading.summary});
    return out;
}

// A JSON string. A name need not be UTF-8: each byte that starts no UTF-8
// sequence is written as the lone surrogate U+DC00 + byte, as Python's
// surrogateescape reads it back, so that every name comes back byte for byte.
void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    char escape[8];
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t begin = i;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            if (NextCodePoint(text, i)) out += text.substr(begin, i - begin);
            else {
                std::snprintf(escape, sizeof escape, "\\udc%02x", c);
                out += escape;
                ++i;
            }
            continue;
        }
        ++i;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20 || c == 0x7f) {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else out += static_cast<char>(c);
    }
    out += '"';
}

void AppendJsonField(std::string& out, const char* key, std::string_view value) {
    out += ",\"";
    out += key;
    out += "\":";
    AppendJsonString(out, value);
}

std::string JsonReport(const RowStore& rows, const ReportHeading& heading) {
    std::string out;
    EachRow(rows, [&](const ReportRow& row) { out += JsonRowLine(row.name, row.icon, row.details, heading.list); });
    return out + JsonSummaryLine(RowTallies(rows), heading);
}

// Text for a page: <, & , > and quotes escaped; a byte that starts no UTF-8
// sequence shows as U+FFFD.
void AppendHtml(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t begin = i;
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            if (NextCodePoint(text, i)) out += text.substr(begin, i - begin);
            else {
                out += "\xEF\xBF\xBD";
                ++i;
            }
            continue;
        }
        ++i;
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
}

// Each mark's colour, as the window draws it.
const char* MarkColour(StatusIcon icon) {
    switch (icon) {
        case IconOk: return "#1a7f1a";
        case IconBad: return "#c00000";
        case IconNA: return "#7f7f7f";
        case IconNew: return "#1f5fd0";
        case IconMoved: return "#e07000";
        case IconPending: break;
    }
    return "#000000";
}

std::string HtmlReport(const RowStore& rows, const ReportHeading& heading) {
    std::string out =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Velmar report: ";
    AppendHtml(out, BaseNameOf(heading.list));
    out += "</title>\n<style>body{font-family:sans-serif}table{border-collapse:collapse}"
           "td,th{padding:2px 8px;text-align:left;border-bottom:1px solid #ddd}"
           "td.digest{font-family:monospace}td.mark{font-weight:bold}</style></head>\n<body>\n<h1>";
    AppendHtml(out, heading.list);
    out += "</h1>\n<p>";
    AppendHtml(out, heading.summary);
    out += "</p>\n<table>\n<tr><th>status</th><th>name</th><th>expected</th><th>computed</th><th>size</th>"
           "<th>reason</th></tr>\n";
    // Problems first, each part in row order: the rows to look at are on
    // top, however long the list.
    for (const bool problems : {true, false})
        EachRow(rows, [&](const ReportRow& row) {
            if ((row.icon == IconOk || row.icon == IconPending) == problems) return;
            out += "<tr><td class=\"mark\" style=\"color:";
            out += MarkColour(row.icon);
            out += "\">";
            out += StatusWord(row.icon);
            out += "</td><td>";
            AppendHtml(out, row.name);
            out += "</td><td class=\"digest\">";
            AppendHtml(out, row.details.expected);
            out += "</td><td class=\"digest\">";
            AppendHtml(out, row.details.computed);
            out += "</td><td>" + SizeText(row.details) + "</td><td>";
            AppendHtml(out, row.details.reason);
            out += "</td></tr>\n";
        });
    out += "</table>\n</body></html>\n";
    return out;
}

std::string TextReport(const RowStore& rows, const ReportHeading& heading) {
    std::string out;
    for (int row = 0; row < rows.Count(); ++row) {
        out += SumToolLine(rows.Name(row), rows.Icon(row), rows.Details(row));
        out += '\n';
    }
    out += heading.summary;
    out += '\n';
    return out;
}

struct FormatEntry {
    ReportFormat format;
    const char* extensions[2];
    std::string (*write)(const RowStore& rows, const ReportHeading& heading);
};

constexpr FormatEntry Formats[] = {
    {.format = ReportFormat::Text, .extensions = {}, .write = TextReport},
    {.format = ReportFormat::Csv, .extensions = {".csv"}, .write = CsvReport},
    {.format = ReportFormat::Json, .extensions = {".json"}, .write = JsonReport},
    {.format = ReportFormat::Html, .extensions = {".html", ".htm"}, .write = HtmlReport},
};

}  // namespace

std::string JsonRowLine(std::string_view name, StatusIcon icon, const RowDetails& details, const std::string& list) {
    std::string out = "{\"name\":";
    AppendJsonString(out, name);
    AppendJsonField(out, "status", StatusWord(icon));
    AppendJsonField(out, "expected", details.expected);
    AppendJsonField(out, "computed", details.computed);
    out += ",\"size\":";
    out += details.size ? std::to_string(*details.size) : "null";
    AppendJsonField(out, "reason", details.reason);
    if (icon == IconMoved) AppendJsonField(out, "moved_to", details.movedTo);
    AppendJsonField(out, "path", details.path);
    AppendJsonField(out, "list", details.list.empty() ? list : details.list);
    return out += "}\n";
}

std::string JsonSummaryLine(const RowCounts& counts, const ReportHeading& heading) {
    std::string out = "{\"summary\":";
    AppendJsonString(out, heading.summary);
    for (const auto& [key, count] :
         {std::pair{"ok", counts.tallies.OkCount}, {"bad", counts.tallies.BadCount}, {"na", counts.tallies.NaCount},
          {"new", counts.tallies.NewCount}, {"moved", counts.tallies.MovedCount}, {"not_checked", counts.pending}}) {
        out += ",\"";
        out += key;
        out += "\":" + std::to_string(count);
    }
    AppendJsonField(out, "list", heading.list);
    return out += "}\n";
}

RowCounts RowTallies(const RowStore& rows) {
    RowCounts counts;
    for (int row = 0; row < rows.Count(); ++row) {
        if (int* tally = TallyOf(counts.tallies, rows.Icon(row))) ++*tally;
        else ++counts.pending;
    }
    return counts;
}

ReportFormat ReportFormatOf(const std::string& path) {
    std::string name = BaseNameOf(path);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    for (const FormatEntry& entry : Formats)
        for (const char* extension : entry.extensions)
            if (extension && name.size() > std::string_view(extension).size() && name.ends_with(extension))
                return entry.format;
    return ReportFormat::Text;
}

std::string RowsSummary(const RowStore& rows) {
    const Tallies tallies = RowTallies(rows).tallies;
    return tallies.NewCount + tallies.MovedCount > 0 ? AuditSummaryText(tallies) : SummaryText(tallies);
}

std::string ReportText(ReportFormat format, const RowStore& rows, const ReportHeading& heading) {
    for (const FormatEntry& entry : Formats)
        if (entry.format == format) return entry.write(rows, heading);
    return TextReport(rows, heading);
}

std::optional<std::string> SaveReport(const std::string& path, const RowStore& rows, const ReportHeading& heading) {
    const std::string text = ReportText(ReportFormatOf(path), rows, heading);
    errno = 0;
    if (ReplacementFile::WriteWhole(path, text)) return std::nullopt;
    const int error = errno;
    return "Cannot write the report '" + path + "'" + (error ? ": " + SystemErrorText(error) : "");
}

}  // namespace velmar
