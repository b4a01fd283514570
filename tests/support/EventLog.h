// What the test fakes of the window and of a job's sink share: every
// operation or event told them, recorded in order, and a hook run after each.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace velmar::test {

class EventLog {
public:
    std::vector<std::string> Log() {
        std::lock_guard lock(mutex_);
        return log_;
    }

    // Called after each entry is logged, with the entry's number.
    std::function<void(std::size_t)> onRecord;

protected:
    void Record(std::string entry) {
        std::size_t count;
        {
            std::lock_guard lock(mutex_);
            log_.push_back(std::move(entry));
            count = log_.size();
        }
        if (onRecord) onRecord(count);
    }

    // Guards the log and whatever else the fake keeps.
    std::mutex mutex_;

private:
    std::vector<std::string> log_;
};

}  // namespace velmar::test
