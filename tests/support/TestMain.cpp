// The main of every GoogleTest binary. A job that ends the program where no
// test expects it would otherwise exit with code 0 in the middle of a case,
// which CTest counts as a pass: here it fails the run instead.
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/Process.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    velmar::SetEndProgramHandler([] {
        std::fprintf(stderr, "the program ended where no test expected it\n");
        std::_Exit(1);
    });
    return RUN_ALL_TESTS();
}
