// What the SFV list tests share: a folder, the sink recording a job's
// events, files of a chosen CRC-32, a verification on a sink of its own,
// and a few readings of the log.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "checksum/Crc32.h"
#include "jobs/JobFrame.h"
#include "lists/VerifyJob.h"
#include "kinds/SfvKind.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/JobTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/UtcTime.h"

namespace velmar::test {

inline std::uint32_t CrcOf(std::string_view bytes) {
    return Crc32Final(Crc32Update(Crc32Init(), bytes.data(), bytes.size()));
}

inline std::string Hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

// `prefix` followed by the four bytes that make the CRC-32 of the whole come
// out as `target`: the register is walked back from the target through the
// table, whose top bytes are all different, then forward from the prefix.
inline std::string WithCrc(std::string prefix, std::uint32_t target) {
    std::uint8_t reverse[256];
    for (int i = 0; i < 256; ++i) reverse[CrcTable[i] >> 24] = static_cast<std::uint8_t>(i);
    std::uint32_t reg = ~target;
    std::uint8_t index[4];
    for (int k = 3; k >= 0; --k) {
        index[k] = reverse[reg >> 24];
        reg = (reg ^ CrcTable[index[k]]) << 8;
    }
    std::uint32_t cur = ~CrcOf(prefix);
    for (int k = 0; k < 4; ++k) {
        prefix.push_back(static_cast<char>((cur ^ index[k]) & 0xFFu));
        cur = (cur >> 8) ^ CrcTable[index[k]];
    }
    return prefix;
}

class SfvTest : public JobTest, public AtEachReadingPolicy {
protected:
    SfvTest() {
        Pin(control);
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }

    // The SFV list `list` verified against the files of `folder`, its events
    // told to `events`: for a test that runs more than one job.
    JobResult VerifyOn(RecordingSink& events, const std::string& list, const std::string& folder,
                       ReadPurpose purpose = ReadPurpose::CommandLineVerify) {
        JobFrame job(events, control);
        return job.Run([&] { VerifyList(job, SfvKind, list, folder, purpose); });
    }

    // Bytes given with "\n" for a line end become CR LF, as lists are written.
    static std::string Crlf(std::string_view text) {
        std::string out;
        for (char c : text) {
            if (c == '\n') out.push_back('\r');
            out.push_back(c);
        }
        return out;
    }
    std::string Line(std::string_view name, std::string_view bytes) {
        return std::string(name) + " " + Hex8(CrcOf(bytes)) + "\n";
    }
};

}  // namespace velmar::test
