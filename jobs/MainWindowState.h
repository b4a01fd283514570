// What the main window and its jobs share. The two flags are single bytes,
// read and written whole from both threads without a lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace velmar {

enum JobModeValue : std::int32_t {
    ModeNone = 0,
    ModeCreateSfv = 1,
    ModeSelectVerifySfv = 2,
    ModeCreateMd5 = 3,
    ModeSelectVerifyMd5 = 4,
    ModeCreateM3u = 5,
    ModeSelectVerifyM3u = 6,
};

struct MainWindowState {
    std::atomic<std::uint8_t> Busy{0};           // 1 while a job runs
    std::atomic<std::uint8_t> QuitRequested{0};  // the user asked to quit while a job ran
    std::atomic<std::int32_t> JobMode{ModeNone}; // what go! does

    // Filled by the select-verify loads on the UI thread, read there by go!.
    // They grow with the list, so no entry is ever written past their end.
    std::vector<std::uint32_t> ExpectedCrcs;
    std::vector<std::string> ExpectedMd5s;
    std::string ListDirectory;
    // The folder of the files a Create command chose: the new list goes there.
    std::string CreationDirectory;
    std::string CommandLinePath;
};

}  // namespace velmar
