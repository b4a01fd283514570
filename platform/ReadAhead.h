// An open file read on a thread of the job's pool, one block ahead of whoever
// consumes it: two buffers take turns, so that the next block is read while
// this one is checksummed. A large cached file then costs about what the
// slower of the two costs, not their sum.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "platform/Files.h"
#include "platform/ReadBuffer.h"
#include "platform/TaskPool.h"

namespace velmar {

class ReadAhead {
public:
    // The consumer holds a block in `held` already; reading goes on into
    // `spare` first, then the two take turns. Every read asks for `chunk`
    // bytes (at most the size of either buffer).
    ReadAhead(TaskPool& pool, InputFile& file, std::size_t chunk, ReadBuffer& held, ReadBuffer& spare);
    // Stops reading, once the read under way has returned.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Gives the block in hand back and waits for the next: its bytes in
    // `data` and the read's result (0 at the end of the file, negative after
    // a read error; nothing is read after either).
    ssize_t Next(const std::uint8_t*& data);

private:
    struct Slot {
        ReadBuffer* buffer;
        ssize_t result = 0;
        bool filled = false;  // read and not yet given back by the consumer
    };

    void ReadAll();

    InputFile& file_;
    std::size_t chunk_;
    Slot slots_[2];
    int inHand_ = 1;  // the slot the consumer holds
    bool stop_ = false;
    bool done_ = false;  // the reading task has ended
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace velmar
