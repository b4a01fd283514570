// The fixture every job test starts from: a fresh folder, the fake window,
// the window's state, a frame over both, and the end of the program turned
// into an exception. And the worker counts a job test runs at, since which
// way the engine reads would otherwise depend on the disk holding TMPDIR.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "jobs/ChecksumEngine.h"
#include "jobs/JobFrame.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/TempDir.h"

namespace velmar::test {

class JobTest : public ::testing::Test {
protected:
    TempDir dir;
    FakeWindow window;
    MainWindowState state;
    JobFrame frame{window, state};
    ProgramEndCatcher catcher;
};

// One worker reads every file on the job's own thread, in row order, as on
// a spinning disk; three run workers beside the job, MD5 files through the
// lanes once there are more files than workers.
inline constexpr int WorkerCounts[] = {1, 3};

// Mixed into a job test's fixture: each test runs once at each of
// WorkerCounts, the engine pinned to it for the length of the test. The
// fixture's tests are TEST_P, and VELMAR_AT_EACH_WORKER_COUNT names the
// fixture once per test program.
class AtEachWorkerCount : public ::testing::WithParamInterface<int> {
protected:
    AtEachWorkerCount() { ChecksumEngine::SetWorkersForTesting(GetParam()); }
    ~AtEachWorkerCount() { ChecksumEngine::SetWorkersForTesting(0); }
};

// For a table test that needs nothing but the pinned workers.
class WorkerCountTest : public ::testing::Test, public AtEachWorkerCount {};

inline std::string WorkerCountName(const ::testing::TestParamInfo<int>& info) {
    return "Workers" + std::to_string(info.param);
}

}  // namespace velmar::test

#define VELMAR_AT_EACH_WORKER_COUNT(Fixture)                                                               \
    INSTANTIATE_TEST_SUITE_P(Pinned, Fixture, ::testing::ValuesIn(::velmar::test::WorkerCounts), \
                             ::velmar::test::WorkerCountName)
