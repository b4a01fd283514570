// The report of a checked list in each format, over rows of every mark with
// the names that need quoting or escaping in one format or another.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/Report.h"
#include "tests/support/TempDir.h"

namespace velmar::test {
namespace {

const std::string Empty = "d41d8cd98f00b204e9800998ecf8427e";
const std::string Other = "0123456789abcdef0123456789abcdef";

RowStore Rows() {
    RowStore rows;
    const struct {
        std::string name;
        StatusIcon icon;
        RowDetails details;
    } table[] = {
        {"a,b.bin", IconOk, {"/set/a,b.bin", Empty, Empty, 0, "matches", ""}},
        {"say \"hi\".bin", IconBad, {"/set/say \"hi\".bin", Other, Empty, 5, "differs", ""}},
        {"line\nfeed.bin", IconNA, {"/set/line\nfeed.bin", Other, "", std::nullopt, "missing", ""}},
        {"<b>&amp.bin", IconNew, {"/set/<b>&amp.bin", "", Empty, 0, "new", ""}},
        {"old.bin -> new.bin", IconMoved, {"/set/new.bin", Other, Other, 9, "moved to new.bin", "new.bin"}},
        {"caf\xE9.bin", IconNA, {"/set/caf\xE9.bin", Other, "", std::nullopt, "cannot be opened: Permission denied", ""}},
        {"later.bin", IconPending, {}},
    };
    for (std::size_t i = 0; i < std::size(table); ++i) rows.Add("placeholder", IconPending);
    for (int i = 0; i < static_cast<int>(std::size(table)); ++i) {
        rows.SetName(i, table[i].name);  // a renamed row keeps only its new name
        rows.SetIcon(i, table[i].icon);
        if (table[i].icon != IconPending) rows.SetDetails(i, table[i].details);
    }
    rows.Add("gone.bin", IconOk);
    rows.Remove({static_cast<int>(std::size(table))});
    rows.SetCheckedList("/set/list.md5");
    return rows;
}

const ReportHeading Heading{.summary = "OK:1  BAD:1  N/A:2  NEW:1  MOVED:1", .list = "/set/list.md5"};

TEST(ReportTest, EachFormatWritesEveryRowItsOwnWay) {
    const RowStore rows = Rows();
    const struct {
        const char* name;
        std::vector<std::string> holds;  // in this order
        std::vector<std::string> never;
    } formats[] = {
        {"report.txt",
         {"a,b.bin: OK\nsay \"hi\".bin: FAILED\n\\line\\nfeed.bin: FAILED open or read\n<b>&amp.bin: NEW\n"
          "old.bin: MOVED -> new.bin\ncaf\xE9.bin: FAILED open or read\nlater.bin: NOT CHECKED\n"
          "OK:1  BAD:1  N/A:2  NEW:1  MOVED:1\n"},
         {}},
        {"REPORT.CSV",
         {"name,status,expected,computed,size,reason\r\n",
          "\"a,b.bin\",OK," + Empty + "," + Empty + ",0,matches\r\n",
          "\"say \"\"hi\"\".bin\",BAD," + Other + "," + Empty + ",5,differs\r\n",
          "\"line\nfeed.bin\",N/A," + Other + ",,,missing\r\n", "old.bin,MOVED,",
          "later.bin,NOT CHECKED,,,,\r\n", "/set/list.md5,SUMMARY,,,,OK:1  BAD:1  N/A:2  NEW:1  MOVED:1\r\n"},
         {}},
        {"r.json",
         {"{\"name\":\"a,b.bin\",\"status\":\"OK\",\"expected\":\"" + Empty + "\",\"computed\":\"" + Empty +
              "\",\"size\":0,\"reason\":\"matches\",\"path\":\"/set/a,b.bin\",\"list\":\"/set/list.md5\"}\n",
          "{\"name\":\"say \\\"hi\\\".bin\"", "{\"name\":\"line\\nfeed.bin\"", "\"size\":null",
          "{\"name\":\"old.bin\",\"status\":\"MOVED\"", "\"moved_to\":\"new.bin\"", "{\"name\":\"caf\\udce9.bin\"",
          "{\"summary\":\"OK:1  BAD:1  N/A:2  NEW:1  MOVED:1\",\"ok\":1,\"bad\":1,\"na\":2,\"new\":1,\"moved\":1,"
          "\"not_checked\":1,\"list\":\"/set/list.md5\"}\n"},
         {"\xE9"}},
        {"r.html",
         {"<!DOCTYPE html>", "OK:1  BAD:1  N/A:2  NEW:1  MOVED:1", ">BAD</td><td>say &quot;hi&quot;.bin",
          ">NEW</td><td>&lt;b&gt;&amp;amp.bin", "caf\xEF\xBF\xBD.bin", ">OK</td><td>a,b.bin", "later.bin"},
         {"<b>&amp", "\xE9."}},
    };
    for (const auto& format : formats) {
        SCOPED_TRACE(format.name);
        const std::string text = ReportText(ReportFormatOf(format.name), rows, Heading);
        std::size_t at = 0;
        for (const std::string& part : format.holds) {
            const std::size_t found = text.find(part, at);
            ASSERT_NE(found, std::string::npos) << "missing or out of order: " << part << "\nin:\n" << text;
            at = found + part.size();
        }
        for (const std::string& part : format.never) EXPECT_EQ(text.find(part), std::string::npos) << part;
        EXPECT_EQ(text.find("gone.bin"), std::string::npos) << "a row taken out is not reported";
    }
}

TEST(ReportTest, TheRowsKeepEveryDetailAsTold) {
    // Kept in as few bytes as will do: a path where the name leads, a
    // digest computed as expected, lower-case hex as bytes, the common
    // reasons; anything else as it is.
    const std::string longName(300, 'n');
    const RowDetails table[] = {
        {"/set/" + longName, Empty, Empty, 0, "matches", ""},
        {"/set/sub/a.bin", "ABCDEF01", "abcdef01", 1u << 20, "matches; found as sub/A.bin by letter case", ""},
        {"/elsewhere/" + longName, "abc", "", std::nullopt, "missing", ""},
        {"/set/" + longName, "", Other, 300, "new", ""},
        {"/set/moved.bin", Other, Other, 9, "moved to " + longName, longName},
        {"", "", "", std::nullopt, "", ""},
        {"/set/" + std::string(3 << 20, 'x'), Other, "", std::nullopt, "cannot be opened: File name too long", ""},
    };
    RowStore rows;
    rows.SetCheckedList("/set/list.md5");
    for (const RowDetails& details : table) {
        rows.Add(details.path.ends_with(longName) ? longName : "sub\\a.bin", IconPending);
        rows.SetDetails(rows.Count() - 1, details);
    }
    for (int row = 0; row < rows.Count(); ++row) {
        const RowDetails& told = table[row];
        const RowDetails kept = rows.Details(row);
        EXPECT_EQ(std::tie(kept.path, kept.expected, kept.computed, kept.size, kept.reason, kept.movedTo),
                  std::tie(told.path, told.expected, told.computed, told.size, told.reason, told.movedTo))
            << "row " << row;
    }
}

TEST(ReportTest, ASavedReportReplacesTheFileWholeOrSaysWhyNot) {
    TempDir dir;
    const RowStore rows = Rows();
    const std::string path = dir.Write("report.csv", "old");
    EXPECT_EQ(SaveReport(path, rows, Heading), std::nullopt);
    EXPECT_EQ(ReadAll(path), ReportText(ReportFormat::Csv, rows, Heading));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no hidden file left";
    EXPECT_EQ(SaveReport(dir.File("no such folder/report.txt"), rows, Heading),
              "Cannot write the report '" + dir.File("no such folder/report.txt") + "': No such file or directory");
    EXPECT_EQ(RowsSummary(rows), Heading.summary);
}

}  // namespace
}  // namespace velmar::test
