// What a caller may see of a digest while it runs.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace velmar {

// What a caller may see of a digest while it runs, both optional: the flags
// that stop the reading, any one of them once set, and a count that grows by
// every block read (one count may serve several files read at once). A job
// gives the user's stop, which a quit sets too; the engine reading its files
// adds its own, so that a fatal end stops the reads under way as well.
class DigestWatch {
public:
    DigestWatch(const std::atomic<std::uint8_t>* stop = nullptr, std::atomic<std::uint64_t>* bytesRead = nullptr)
        : stops_{stop}, bytesRead_(bytesRead) {}

    // This watch, stopped by `stop` as well.
    DigestWatch AlsoStoppedBy(const std::atomic<std::uint8_t>& stop) const;

    bool Stopped() const {
        for (const auto* stop : stops_)
            if (stop && *stop) return true;
        return false;
    }
    void Read(std::uint64_t bytes) const {
        if (bytesRead_) bytesRead_->fetch_add(bytes, std::memory_order_relaxed);
    }

private:
    // The job's and the engine's.
    std::array<const std::atomic<std::uint8_t>*, 2> stops_;
    std::atomic<std::uint64_t>* bytesRead_;
};

}  // namespace velmar
