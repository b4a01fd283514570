// What the MD5 list tests share: a folder, a sink and a frame for the jobs
// run alone; the fake window, its state and the end of the program turned
// into an exception for the commands run as the window runs them; and a
// few readings of the logs.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/MainWindowState.h"
#include "checksum/Md5.h"
#include "jobs/JobFrame.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/JobTest.h"
#include "tests/support/TempDir.h"

namespace velmar::test {

inline std::string Md5Of(std::string_view bytes) {
    MD5Context context;
    MD5Init(&context);
    MD5Update(&context, reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()));
    std::uint8_t digest[16];
    MD5Final(digest, &context);
    return MD5DigestText(digest);
}

inline std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

class Md5Test : public JobTest, public AtEachReadingPolicy {
protected:
    Md5Test() {
        Pin(control);
        Pin(state);
    }

    FakeWindow window;
    MainWindowState state;
    ProgramEndCatcher catcher;

    // A list file of the given text, written byte for byte.
    std::string List(std::string_view text, std::string_view name = "md5sum") { return dir.Write(name, text); }
    std::string Line(std::string_view bytes, std::string_view name, std::string_view sep = "  ") {
        return Md5Of(bytes) + std::string(sep) + std::string(name) + "\r\n";
    }
    // The window showed `message` as a failed job's.
    bool ShowedFatal(const std::string& message) { return Contains(window.Log(), "MessageBox Ok " + message); }
};

}  // namespace velmar::test
