// What the playlist tests share on top of the MD5 list tests' fixture: a
// creation set up over files in the test folder, and a playlist read back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lists/CreationJob.h"
#include "kinds/M3uKind.h"
#include "lists/ListReading.h"
#include "tests/kinds/Md5TestSupport.h"

namespace velmar::test {

class M3uTest : public Md5Test {
protected:
    std::vector<std::string> digests, names;
    int entries = 0;
    CreationInputs inputs;

    JobResult Read(const std::string& path) {
        return frame.Run(
            [&] { entries = ReadListEntries(frame, M3uKind, path, ReadPurpose::MenuVerify, digests, names); });
    }
    JobResult ReadText(std::string_view text) { return Read(List(text, "p.m3u")); }

    // What Create M3U and go! hand the job: the rows, "list.m3u" in the
    // test folder, the comment mode. The rows are held in the sink.
    std::string Prepare(std::vector<std::string> rows, int commentMode = CommentModeNone) {
        sink.HoldRows(rows);
        inputs = {.rows = std::move(rows), .directory = dir.path(), .listName = "list.m3u",
                  .commentMode = commentMode, .oneLineComment = {}, .commentFile = {}, .winsfv = false};
        return CreationListPath(inputs);
    }
    JobResult Create(const ListTimes& times = {}) {
        return frame.Run([&] { RunCreation(frame, M3uKind, inputs, times); });
    }
};

}  // namespace velmar::test
