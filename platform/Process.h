// The end of the program on the quit and fatal paths.
#pragma once

namespace velmar {

// Ends the program at once with exit code 0, without exit handlers.
[[noreturn]] void EndProgram();

// Ends the program with exit code 0 in the orderly way: exit handlers and
// static destructors run. File > Exit when idle.
[[noreturn]] void ExitProgram();

// Tests put a handler here that records the end and throws, so a test can
// assert on a fatal end instead of dying. nullptr restores the real end.
// Returns the previous handler.
using EndProgramHandler = void (*)();
EndProgramHandler SetEndProgramHandler(EndProgramHandler handler);

}  // namespace velmar
