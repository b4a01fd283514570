// Readings of the fake window that every job test makes: entries of its
// log, its rows' names and icons, and waits for a job on a worker.
#pragma once

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/JobThread.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/RecordingSink.h"

namespace velmar::test {

inline bool Contains(const std::vector<std::string>& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

inline std::ptrdiff_t IndexOf(const std::vector<std::string>& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) - log.begin();
}

template <class Window>
inline std::vector<std::string> RowNames(Window& window) {
    std::vector<std::string> names;
    for (const auto& row : window.Rows()) names.push_back(row.name);
    return names;
}

template <class Window>
inline std::vector<StatusIcon> RowIcons(Window& window) {
    std::vector<StatusIcon> icons;
    for (const auto& row : window.Rows()) icons.push_back(row.icon);
    return icons;
}

// Waits up to 20 s for every job started on a worker to return: a job reads
// the state it was given up to its last step, after Busy is already clear.
inline bool WaitForJobsToEnd() {
    for (int i = 0; i < 2000 && JobThread::Running() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return JobThread::Running() == 0;
}

// Waits up to 20 s for a job on a worker to log `entry`.
template <class Window>
inline bool WaitForLog(Window& window, const std::string& entry) {
    for (int i = 0; i < 2000; ++i) {
        if (Contains(window.Log(), entry)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A job on a worker logged `entry` and has returned.
template <class Window>
inline bool WaitForJobEndAfter(Window& window, const std::string& entry) {
    return WaitForLog(window, entry) && WaitForJobsToEnd();
}

}  // namespace velmar::test
