// A close asked for at any moment of any job: the job stops at its next
// check and the program ends, with at most the row in hand finished first.
#include <sys/stat.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "checksum/Crc32.h"
#include "m3u/M3uCreateJob.h"
#include "m3u/M3uVerifyJob.h"
#include "md5list/Md5CreateJob.h"
#include "md5list/Md5VerifyJob.h"
#include "sfv/SfvCreateJob.h"
#include "sfv/SfvVerifyJob.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

struct Job {
    const char* name;
    std::function<void(test::TempDir&, test::FakeWindow&, MainWindowState&)> prepare;
    std::function<void(JobFrame&)> run;
};

constexpr int Files = 4;

void WriteFiles(test::TempDir& dir) {
    for (int i = 0; i < Files; ++i) dir.Write("f" + std::to_string(i) + ".bin", "content " + std::to_string(i));
}

void PrepareCreation(test::TempDir& dir, test::FakeWindow& window, MainWindowState& state, const char* list) {
    WriteFiles(dir);
    for (int i = 0; i < Files; ++i) {
        window.setup.rows.push_back("f" + std::to_string(i) + ".bin");
        window.AddRow(window.setup.rows.back(), IconPending);
    }
    window.setup.edit1 = list;
    window.setup.comboBox1 = 2;
    state.CreationDirectory = dir.path();
}

// A list of the kind with every file bad, so that the end asks its question.
void PrepareVerify(test::TempDir& dir, test::FakeWindow& window, const char* list, const std::string& text) {
    WriteFiles(dir);
    dir.Write(list, text);
    window.dialogAnswers.push_back(std::vector<std::string>{dir.File(list)});
    window.messageAnswers.push_back(MessageAnswer::No);
}

std::string Lines(const std::string& before, const std::string& between, const std::string& after) {
    std::string text;
    for (int i = 0; i < Files; ++i) text += before + "f" + std::to_string(i) + ".bin" + between + after;
    return text;
}

const Job Jobs[] = {
    {"SFV verify",
     [](test::TempDir& dir, test::FakeWindow& window, MainWindowState& state) {
         PrepareVerify(dir, window, "list.sfv", Lines("", " 00000000", "\n"));
         state.CommandLinePath = dir.File("list.sfv");
         window.dialogAnswers.clear();
     },
     [](JobFrame& f) { RunCommandLineSfvVerify(f); }},
    {"MD5 verify",
     [](test::TempDir& dir, test::FakeWindow& window, MainWindowState&) {
         PrepareVerify(dir, window, "md5sum", [] {
             std::string text;
             for (int i = 0; i < Files; ++i) text += std::string(32, '0') + "  f" + std::to_string(i) + ".bin\n";
             return text;
         }());
     },
     [](JobFrame& f) { RunMd5Verify(f); }},
    {"M3U verify",
     [](test::TempDir& dir, test::FakeWindow& window, MainWindowState&) {
         PrepareVerify(dir, window, "list.m3u", [] {
             std::string text;
             for (int i = 0; i < Files; ++i) text += "#" + std::string(32, '0') + "\nf" + std::to_string(i) + ".bin\n";
             return text;
         }());
     },
     [](JobFrame& f) { RunM3uVerify(f); }},
    {"SFV create", [](test::TempDir& d, test::FakeWindow& w, MainWindowState& s) { PrepareCreation(d, w, s, "a.sfv"); },
     [](JobFrame& f) { RunSfvCreation(f); }},
    {"MD5 create", [](test::TempDir& d, test::FakeWindow& w, MainWindowState& s) { PrepareCreation(d, w, s, "md5sum"); },
     [](JobFrame& f) { RunMd5Creation(f); }},
    {"M3U create", [](test::TempDir& d, test::FakeWindow& w, MainWindowState& s) { PrepareCreation(d, w, s, "a.m3u"); },
     [](JobFrame& f) { RunM3uCreation(f); }},
};

int RowsFinishedAfter(const std::vector<std::string>& log, std::size_t from) {
    int rows = 0;
    for (std::size_t i = from; i < log.size(); ++i)
        if (log[i].rfind("SetRowIcon", 0) == 0) ++rows;
    return rows;
}

TEST(QuitAtEveryStepTest, EveryJobEndsTheProgramAtItsNextCheck) {
    test::ProgramEndCatcher catcher;
    for (const Job& job : Jobs) {
        // One run without a close counts the job's operations.
        std::size_t operations = 0;
        {
            test::TempDir dir;
            test::FakeWindow window;
            MainWindowState state;
            job.prepare(dir, window, state);
            const std::size_t prepared = window.Log().size();
            JobFrame frame(window, state);
            job.run(frame);
            operations = window.Log().size() - prepared;
            ASSERT_GT(operations, static_cast<std::size_t>(Files)) << job.name;
        }
        for (std::size_t at = 1; at <= operations; ++at) {
            test::TempDir dir;
            test::FakeWindow window;
            MainWindowState state;
            job.prepare(dir, window, state);
            const std::size_t prepared = window.Log().size();
            window.onRecord = [&](std::size_t count) {
                if (count == prepared + at) state.QuitRequested = 1;
            };
            JobFrame frame(window, state);
            EXPECT_THROW(job.run(frame), test::ProgramEnded) << job.name << " closed after operation " << at;
            const auto log = window.Log();
            EXPECT_LE(RowsFinishedAfter(log, std::min(log.size(), prepared + at)), 1)
                << job.name << " closed after operation " << at;
        }
    }
}

}  // namespace
}  // namespace velmar
