#include "platform/Process.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace velmar {

namespace {
std::atomic<EndProgramHandler> endHandler{nullptr};
}

EndProgramHandler SetEndProgramHandler(EndProgramHandler handler) { return endHandler.exchange(handler); }

void EndProgram() {
    if (EndProgramHandler handler = endHandler.load()) handler();
    // No exit handlers and no static destructors: a worker thread may be
    // ending the program while the window still runs.
    ::_exit(0);
}

void ExitProgram() { std::exit(0); }

}  // namespace velmar
