// The fixture every job test starts from: a fresh folder, the fake window,
// the window's state, a frame over both, and the end of the program turned
// into an exception.
#pragma once

#include <gtest/gtest.h>

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

}  // namespace velmar::test
