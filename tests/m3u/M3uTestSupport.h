// What the playlist tests share on top of the MD5 list tests' fixture: a
// creation set up over files in the test folder, and a playlist read back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lists/CreationJob.h"
#include "m3u/M3uKind.h"
#include "lists/ListReading.h"
#include "tests/md5list/Md5TestSupport.h"

namespace velmar::test {

class M3uTest : public Md5Test {
protected:
    std::vector<std::string> digests, names;

    int Read(const std::string& path) {
        return ReadListEntries(frame, M3uKind, path, ReadPurpose::MenuVerify, digests, names);
    }
    int ReadText(std::string_view text) { return Read(List(text, "p.m3u")); }

    // The window as Create M3U leaves it: the rows, "list.m3u" in Edit1.
    std::string Prepare(std::vector<std::string> rows, int comboBox1 = 3) {
        state.CreationDirectory = dir.path();
        window.ClearRows();
        for (const std::string& row : rows) window.AddRow(row, IconPending);
        window.setup.rows = std::move(rows);
        window.setup.edit1 = "list.m3u";
        window.setup.comboBox1 = comboBox1;
        return dir.File("list.m3u");
    }
};

}  // namespace velmar::test
