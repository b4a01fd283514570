#include "platform/ReadAhead.h"

namespace velmar {

ReadAhead::ReadAhead(TaskPool& pool, InputFile& file, std::size_t chunk, ReadBuffer& held, ReadBuffer& spare)
    : file_(file), chunk_(chunk), slots_{{&spare}, {&held, 0, true}} {
    pool.Run([this] {
        ReadAll();
        std::lock_guard lock(mutex_);
        done_ = true;
        changed_.notify_all();
    });
}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return done_; });
}

void ReadAhead::ReadAll() {
    for (int next = 0;; next ^= 1) {
        Slot& slot = slots_[next];
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || !slot.filled; });
            if (stop_) return;
        }
        // The slot is the reader's alone until it is marked filled.
        const ssize_t result = file_.Read(slot.buffer->data(), chunk_);
        {
            std::lock_guard lock(mutex_);
            slot.result = result;
            slot.filled = true;
        }
        changed_.notify_all();
        if (result <= 0) return;
    }
}

ssize_t ReadAhead::Next(const std::uint8_t*& data) {
    std::unique_lock lock(mutex_);
    slots_[inHand_].filled = false;
    changed_.notify_all();
    inHand_ ^= 1;
    Slot& slot = slots_[inHand_];
    changed_.wait(lock, [&] { return slot.filled; });
    data = slot.buffer->data();
    return slot.result;
}

}  // namespace velmar
