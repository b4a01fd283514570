// A close asked for at any moment of any job the window runs: the job stops
// at its next check and the program ends, with at most the row in hand
// finished first. A creation ended early leaves the old list as it was and
// nothing else.
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "app/Commands.h"
#include "app/KindCommands.h"
#include "app/WindowJob.h"
#include "jobs/TreeListing.h"
#include "lists/AuditJob.h"
#include "lists/CreationJob.h"
#include "lists/SelectVerify.h"
#include "lists/VerifyJob.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "kinds/ListKinds.h"
#include "kinds/SfvKind.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/JobTest.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

struct Job {
    const char* name;
    const ListKind* creates;  // nullptr for a verification
    std::function<void(test::TempDir&, test::FakeWindow&, MainWindowState&)> prepare;
    // The job as the window runs it, on the calling thread.
    std::function<void(test::FakeWindow&, MainWindowState&)> run;
    bool selectVerify = false;  // shows no summary, so no "(stopped)" either
};

constexpr int Files = 4;
const std::string OldList = "the list from before\r\n";

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
    dir.Write(list, OldList);
}

// A creation that did not report its list complete left the old one; no
// other file is left beside the files and the list.
bool Completed(const Job& job, const std::vector<std::string>& log) {
    return test::Contains(log, std::string("MessageBox Ok ") + TextsOf(*job.creates).creationComplete);
}
void ExpectOldListUnlessCompleted(const Job& job, const test::TempDir& dir, const std::set<std::string>& names,
                                  const std::vector<std::string>& log) {
    EXPECT_TRUE(Completed(job, log) || test::ReadAll(dir.File(job.creates->firstName)) == OldList) << job.name;
    EXPECT_EQ(names.size(), Files + 1u) << job.name;
}

// A list of the kind with every file bad, so that the end asks its question.
void PrepareVerify(test::TempDir& dir, test::FakeWindow& window, MainWindowState& state, const char* list,
                   const std::string& text) {
    WriteFiles(dir);
    state.CommandLinePath = dir.Write(list, text);
    window.messageAnswers.push_back(MessageAnswer::No);
}

void RunInWindow(test::FakeWindow& window, MainWindowState& state, const JobBody& body, WindowJobOptions options = {}) {
    state.Busy = 1;
    RunWindowJob(window, state, body, options);
}

// go! in a select-verify mode, its pass run here rather than on a worker.
void SelectVerifyGoHere(test::FakeWindow& window, MainWindowState& state, const ListKind& kind) {
    SelectedRows selected{.listPath = state.ListPath, .listDirectory = state.ListDirectory, .rows = window.SelectedRows(),
                          .names = {}, .expected = {}, .signature = state.LoadedSignature};
    for (int row : selected.rows) {
        selected.names.push_back(window.RowText(row));
        selected.expected.push_back(state.ExpectedDigests.at(static_cast<std::size_t>(row)));
    }
    RunInWindow(window, state, [&](JobFrame& f) { CheckSelectedRows(f, kind, selected); }, {.deselectMarked = true});
}

// A list of the kind, written by its own writer, in which every file is bad.
std::string AllBadList(const ListKind& kind) {
    FileDigest zero;
    zero.status = FileDigestStatus::Ok;
    zero.size = DigestSize(kind.algorithm);
    std::string text;
    for (int i = 0; i < Files; ++i) text += kind.entryLines("f" + std::to_string(i) + ".bin", zero, kind, {});
    return text;
}

// Every kind's verification from the menu, its creation and its
// select-verify pass, the command-line verification and the walk of a tree
// for Create from Folder.
std::vector<Job> Jobs() {
    std::vector<Job> jobs;
    for (const ListKind* kind : ListKinds()) {
        const char* list = kind->firstName;
        jobs.push_back({TextsOf(*kind).itemCaptions[1], nullptr,
                        [kind, list](test::TempDir& dir, test::FakeWindow& window, MainWindowState& state) {
                            PrepareVerify(dir, window, state, list, AllBadList(*kind));
                        },
                        [kind](test::FakeWindow& window, MainWindowState& state) {
                            RunInWindow(window, state, [kind, path = state.CommandLinePath](JobFrame& f) {
                                VerifyList(f, *kind, path, ReadPurpose::MenuVerify);
                            });
                        }});
        jobs.push_back({TextsOf(*kind).itemCaptions[0], kind,
                        [list](test::TempDir& d, test::FakeWindow& w, MainWindowState& s) { PrepareCreation(d, w, s, list); },
                        [kind](test::FakeWindow& window, MainWindowState& state) {
                            const CreationInputs inputs{.rows = window.setup.rows,
                                                        .directory = state.CreationDirectory,
                                                        .listName = window.setup.edit1,
                                                        .commentMode = window.setup.comboBox1};
                            RunInWindow(window, state, [&](JobFrame& f) { RunCreation(f, *kind, inputs); },
                                        {.ending = [&](const JobResult& result) {
                                            EndCreationInWindow(window, result, TextsOf(*kind).creationComplete);
                                        }});
                        }});
        jobs.push_back({TextsOf(*kind).itemCaptions[2], nullptr,
                        [kind, list](test::TempDir& dir, test::FakeWindow& window, MainWindowState& state) {
                            WriteFiles(dir);
                            window.dialogAnswers.push_back(std::vector<std::string>{dir.Write(list, AllBadList(*kind))});
                            SelectVerifyCommand(window, state, *kind);
                            window.Select({0, 1, 2, 3});
                        },
                        [kind](test::FakeWindow& window, MainWindowState& state) { SelectVerifyGoHere(window, state, *kind); },
                        true});
    }
    jobs.push_back({"command line", nullptr,
                    [](test::TempDir& dir, test::FakeWindow& window, MainWindowState& state) {
                        PrepareVerify(dir, window, state, "list", AllBadList(SfvKind));
                    },
                    [](test::FakeWindow& window, MainWindowState& state) {
                        RunInWindow(window, state, [path = state.CommandLinePath](JobFrame& f) {
                            VerifyList(f, ListKindOf(path), path, ReadPurpose::CommandLineVerify);
                        });
                    }});
    // An audit and an addition that find a file the list does not name.
    for (const auto& [name, mode] : {std::pair{"audit", AuditMode::Audit}, std::pair{"add new files", AuditMode::AddNewFiles}})
        jobs.push_back({name, nullptr,
                        [](test::TempDir& dir, test::FakeWindow& window, MainWindowState& state) {
                            PrepareVerify(dir, window, state, "md5sum", AllBadList(*ListKinds()[1]));
                            dir.Write("new.bin", "new");
                        },
                        [mode](test::FakeWindow& window, MainWindowState& state) {
                            RunInWindow(window, state, [mode, path = state.CommandLinePath](JobFrame& f) {
                                AuditList(f, mode, ListKindOf(path), path);
                            });
                        }});
    jobs.push_back({"tree walk", nullptr,
                    [](test::TempDir& dir, test::FakeWindow&, MainWindowState& state) {
                        WriteFiles(dir);
                        state.CreationDirectory = dir.path();
                    },
                    [](test::FakeWindow& window, MainWindowState& state) {
                        const std::string folder = state.CreationDirectory;
                        RunInWindow(window, state, [&](JobFrame& f) { ListTree(f, folder, "list"); },
                                    {.ending = [&](const JobResult& result) {
                                        EndTreeListingInWindow(window, state, folder, result);
                                    }});
                    }});
    return jobs;
}

// The folder the job works in, and what it held when the program ended:
// the real end runs no destructor, so what a job leaves then stays.
std::string endingFolder;
std::set<std::string> namesAtEnd;
void RecordFolderAndEnd() {
    namesAtEnd = test::NamesIn(endingFolder);
    throw test::ProgramEnded();
}

int OperationsAfter(const std::vector<std::string>& log, std::size_t from, const char* operation) {
    int count = 0;
    for (std::size_t i = std::min(log.size(), from); i < log.size(); ++i)
        if (log[i].rfind(operation, 0) == 0) ++count;
    return count;
}
int RowsFinishedAfter(const std::vector<std::string>& log, std::size_t from) {
    return OperationsAfter(log, from, "SetRowIcon");
}

class QuitAtEveryStepTest : public test::ReadingPolicyTest {};
VELMAR_AT_EACH_READING_POLICY(QuitAtEveryStepTest);

TEST_P(QuitAtEveryStepTest, EveryJobEndsTheProgramAtItsNextCheck) {
    test::ProgramEndCatcher catcher;
    SetEndProgramHandler(&RecordFolderAndEnd);
    for (const Job& job : Jobs()) {
        // One run without a close counts the job's operations.
        std::size_t operations = 0;
        {
            test::TempDir dir;
            test::FakeWindow window;
            MainWindowState state;
            test::PinReading(state);
            job.prepare(dir, window, state);
            const std::size_t prepared = window.Log().size();
            job.run(window, state);
            operations = window.Log().size() - prepared;
            ASSERT_GT(operations, static_cast<std::size_t>(Files)) << job.name;
        }
        for (std::size_t at = 1; at <= operations; ++at) {
            test::TempDir dir;
            test::FakeWindow window;
            MainWindowState state;
            test::PinReading(state);
            job.prepare(dir, window, state);
            endingFolder = dir.path();
            const std::size_t prepared = window.Log().size();
            window.onRecord = [&](std::size_t count) {
                if (count == prepared + at) state.AskToQuit();
            };
            EXPECT_THROW(job.run(window, state), test::ProgramEnded) << job.name << " closed after operation " << at;
            const auto log = window.Log();
            EXPECT_LE(RowsFinishedAfter(log, std::min(log.size(), prepared + at)), 1)
                << job.name << " closed after operation " << at;
            if (job.creates) ExpectOldListUnlessCompleted(job, dir, namesAtEnd, log);
        }
    }
}

TEST_P(QuitAtEveryStepTest, AStopAtAnyMomentEndsAJobAndKeepsTheProgram) {
    test::ProgramEndCatcher catcher;
    for (const Job& job : Jobs()) {
        if (job.selectVerify) continue;
        int stops = 0;
        for (std::size_t at = 1;; ++at) {
            test::TempDir dir;
            test::FakeWindow window;
            MainWindowState state;
            test::PinReading(state);
            job.prepare(dir, window, state);
            window.messageAnswers = {MessageAnswer::Yes};  // a rename would happen if asked
            const std::size_t prepared = window.Log().size();
            window.onRecord = [&](std::size_t count) {
                if (count == prepared + at) state.StopRequested = 1;
            };
            job.run(window, state);
            const auto log = window.Log();
            const bool stopped = std::any_of(log.begin(), log.end(), [](const std::string& line) {
                return line.rfind("SetText Label1 ", 0) == 0 && line.ends_with("  (stopped)");
            });
            stops += stopped;
            EXPECT_EQ(state.Busy, 0) << job.name << " stopped after operation " << at;
            EXPECT_EQ(state.StopRequested, 0) << job.name;
            EXPECT_LE(RowsFinishedAfter(log, std::min(log.size(), prepared + at)), 1) << job.name << " " << at;
            EXPECT_EQ(OperationsAfter(log, prepared + at, "AddRow"), 0) << job.name << ": the list read on after a stop at " << at;
            if (job.creates) {
                ExpectOldListUnlessCompleted(job, dir, test::NamesIn(dir.path()), log);
                EXPECT_NE(stopped, Completed(job, log)) << job.name << " " << at;
            } else if (stopped) {
                EXPECT_FALSE(test::Contains(log, "MessageBox YesNo Rename Bad Files?")) << job.name << " " << at;
                for (int i = 0; i < Files; ++i)
                    EXPECT_FALSE(PathExists(dir.File("f" + std::to_string(i) + ".bin.BAD"))) << job.name;
            }
            // Past the end of the walk a stop has nothing left to stop.
            if (prepared + at >= log.size()) break;
        }
        EXPECT_GT(stops, Files) << job.name << ": a stop before each row ends the walk there";
    }
}

}  // namespace
}  // namespace velmar
