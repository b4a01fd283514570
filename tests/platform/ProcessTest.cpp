#include "platform/Process.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>

namespace velmar {
namespace {

struct ProgramEnded : std::runtime_error {
    ProgramEnded() : std::runtime_error("program ended") {}
};

void ThrowInstead() { throw ProgramEnded(); }

TEST(EndProgram, ATestHandlerTurnsTheEndIntoSomethingToAssertOn) {
    EndProgramHandler previous = SetEndProgramHandler(&ThrowInstead);
    EXPECT_THROW(EndProgram(), ProgramEnded);
    EXPECT_EQ(SetEndProgramHandler(previous), &ThrowInstead);
}

TEST(EndProgramDeathTest, EndsAtOnceWithCodeZeroWithoutExitHandlers) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::atexit([] { std::fputs("exit handler ran", stderr); });
            SetEndProgramHandler(nullptr);  // the real end, not the test binary's guard
            EndProgram();
        },
        ::testing::ExitedWithCode(0), "^$");
}

}  // namespace
}  // namespace velmar
