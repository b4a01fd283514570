// The fixture every job test starts from: a fresh folder, a sink recording
// the job's events, the job's stop and quit flags, and a frame over both. And the ways of reading a job test runs under, since
// which way the engine reads would otherwise depend on the disk holding TMPDIR.
#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "checksum/ChecksumEngine.h"
#include "jobs/JobFrame.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/TempDir.h"

namespace velmar::test {

class JobTest : public ::testing::Test {
protected:
    TempDir dir;
    RecordingSink sink;
    JobControl control;
    JobFrame frame{sink, control};
};

// How a job test's engine reads. One worker reads every file on the job's
// own thread, in row order, as on a spinning disk; three run workers beside
// the job, MD5 files through the lanes once there are more files than
// workers; and three read as on a disk read in turn with nothing in memory,
// every file larger than one read-ahead request through the disk's one
// reader and the small ones announced ahead.
struct ReadingPolicy {
    const char* name;
    int workers;
    bool diskInTurn = false;
};
inline constexpr ReadingPolicy ReadingPolicies[] = {
    {.name = "Workers1", .workers = 1},
    {.name = "Workers3", .workers = 3},
    {.name = "DiskInTurn3", .workers = 3, .diskInTurn = true},
};

// Mixed into a job test's fixture: each test runs once at each of
// ReadingPolicies, every job it starts given Pinned() as its control's
// engine options. The fixture's tests are TEST_P, and
// VELMAR_AT_EACH_READING_POLICY names the fixture once per test program.
class AtEachReadingPolicy : public ::testing::WithParamInterface<ReadingPolicy> {
public:
    static EngineOptions Pinned() {
        return {.workers = GetParam().workers, .diskInTurn = GetParam().diskInTurn, .nothingCached = GetParam().diskInTurn};
    }
    static void Pin(JobControl& control) { control.engine = Pinned(); }
};

// A job's control (a window's state, too) pinned to the reading policy of
// the test under way.
inline void PinReading(JobControl& control) { AtEachReadingPolicy::Pin(control); }

// For a table test that needs nothing but the pinned readers.
class ReadingPolicyTest : public ::testing::Test, public AtEachReadingPolicy {};

inline void PrintTo(const ReadingPolicy& policy, std::ostream* out) { *out << policy.name; }

inline std::string ReadingPolicyName(const ::testing::TestParamInfo<ReadingPolicy>& info) { return info.param.name; }

}  // namespace velmar::test

#define VELMAR_AT_EACH_READING_POLICY(Fixture)                                                         \
    INSTANTIATE_TEST_SUITE_P(Pinned, Fixture, ::testing::ValuesIn(::velmar::test::ReadingPolicies), \
                             ::velmar::test::ReadingPolicyName)
