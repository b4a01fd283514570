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
    // The registry gives every kind its pair by its place in the table
    // (registry/ListKinds.h); these names are those of the first three.
};

// go!'s modes after a kind's Create and Select Verify commands.
struct KindModes {
    JobModeValue create;
    JobModeValue selectVerify;
};

struct MainWindowState {
    std::atomic<std::uint8_t> Busy{0};           // 1 while a job runs
    std::atomic<std::uint8_t> QuitRequested{0};  // the user asked to quit while a job ran
    std::atomic<std::uint8_t> StopRequested{0};  // the user asked to stop the running job, not the program
    std::atomic<std::int32_t> JobMode{ModeNone}; // what go! does

    // A quit asked for during a job also stops its reading, so the program
    // ends within one read instead of after the file in hand.
    void AskToQuit() {
        QuitRequested = 1;
        StopRequested = 1;
    }

    // Filled by the select-verify loads on the UI thread, read there by go!:
    // the expected digest of each row as its list gives it. It grows with
    // the list, so no entry is ever written past its end; every kind's
    // digests, a CRC's eight digits among them, share the one table.
    std::vector<std::string> ExpectedDigests;
    std::string ListDirectory;
    std::string ListPath;  // the select-verify list, which no fallback may take for one of its files
    // The folder of the files a Create command chose: the new list goes there.
    std::string CreationDirectory;
    // The first folder of a Create from Folder's tree that could not be
    // read, "" when every one was: go! refuses the rows, which would make
    // an incomplete list. Written by the walk before it clears Busy, read
    // only while nothing is Busy.
    std::string UnreadableFolder;
    std::string CommandLinePath;
};

}  // namespace velmar
