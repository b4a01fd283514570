// Puts a scripted read(2) and pread(2) behind the file layer for the length
// of a test: it can log what each read returned, fail with EIO after a
// number of successful reads, be interrupted once before each real read, or
// return at most a few bytes each time, as a pipe or a network file may.
// Reads from several threads at once take their turns.
#pragma once

#include <cerrno>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/Files.h"

namespace velmar::test {

class ReadSeam {
public:
    explicit ReadSeam(int failAfterReads = -1, bool interruptEachRead = false, std::size_t readsAtMost = 0) {
        state() = State{failAfterReads, interruptEachRead, readsAtMost, false, {}};
        previous_ = SetReadFunctionForTesting(&ScriptedRead);
    }
    ~ReadSeam() { SetReadFunctionForTesting(previous_); }
    ReadSeam(const ReadSeam&) = delete;
    ReadSeam& operator=(const ReadSeam&) = delete;

    // What each read that reached the file returned, in order.
    const std::vector<ssize_t>& Returned() const { return state().returned; }
    // How many of them were positional (pread).
    std::size_t PositionalReads() const { return state().positional; }

private:
    struct State {
        int failAfterReads;
        bool interruptEachRead;
        std::size_t readsAtMost;  // 0: as many as asked for
        bool interruptedLast;
        std::vector<ssize_t> returned;
        std::size_t positional = 0;
    };
    static State& state() {
        static State s;
        return s;
    }
    static ssize_t ScriptedRead(int fd, void* buffer, std::size_t count, off_t offset) {
        static std::mutex turn;
        std::lock_guard lock(turn);
        State& s = state();
        if (s.interruptEachRead && !s.interruptedLast) {
            s.interruptedLast = true;
            errno = EINTR;
            return -1;
        }
        s.interruptedLast = false;
        if (s.failAfterReads >= 0 && static_cast<int>(s.returned.size()) >= s.failAfterReads) {
            s.returned.push_back(-1);
            errno = EIO;
            return -1;
        }
        if (offset >= 0) ++s.positional;
        if (s.readsAtMost) count = std::min(count, s.readsAtMost);
        const ssize_t n = offset < 0 ? ::read(fd, buffer, count) : ::pread(fd, buffer, count, offset);
        s.returned.push_back(n);
        return n;
    }

    ReadFunction previous_;
};

}  // namespace velmar::test
