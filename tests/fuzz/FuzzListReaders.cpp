// The MD5 list and M3U playlist readers over one input each: they read it
// whole or end the program, and every row they add has its digest of at most 32 characters.
#include <cstdlib>
#include <string>
#include <vector>

#include "jobs/JobFrame.h"
#include "m3u/M3uPlaylistReader.h"
#include "md5list/Md5ListReader.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmar::fuzz::CatchProgramEnd();
    velmar::fuzz::InputFile input(data, size);
    for (auto read : {velmar::ReadMd5List, velmar::ReadM3uPlaylist}) {
        velmar::test::FakeWindow window;
        velmar::MainWindowState state;
        velmar::JobFrame frame(window, state);
        std::vector<std::string> digests, names;
        try {
            read(frame, input.Path(), digests, names);
        } catch (const velmar::test::ProgramEnded&) {
        }
        if (digests.size() != names.size()) std::abort();
        for (const auto& digest : digests)
            if (digest.size() > 32) std::abort();
    }
    return 0;
}
