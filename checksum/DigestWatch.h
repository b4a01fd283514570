// What a caller may see of a digest while it runs.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace velmar {

// What a caller may see of a digest while it runs, all optional: the flags
// that stop the reading, any one of them once set; a count that grows by
// every block read (one count may serve several files read at once); and,
// from the engine, the rows whose files it has looked up and their sizes,
// so that a bar's total needs no look at the files of its own. A job
// gives the user's stop, which a quit sets too; the engine reading its files
// adds its own, so that a fatal end stops the reads under way as well.
class DigestWatch {
public:
    DigestWatch(const std::atomic<std::uint8_t>* stop = nullptr, std::atomic<std::uint64_t>* bytesRead = nullptr,
                std::atomic<std::uint64_t>* bytesSized = nullptr, std::atomic<int>* rowsSized = nullptr)
        : stops_{stop}, bytesRead_(bytesRead), bytesSized_(bytesSized), rowsSized_(rowsSized) {}

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

    // A row's file looked up; a file found, `bytes` long.
    void RowSized() const {
        if (rowsSized_) rowsSized_->fetch_add(1, std::memory_order_relaxed);
    }
    void Sized(std::uint64_t bytes) const {
        if (bytesSized_) bytesSized_->fetch_add(bytes, std::memory_order_relaxed);
    }

private:
    // The job's and the engine's.
    std::array<const std::atomic<std::uint8_t>*, 2> stops_;
    std::atomic<std::uint64_t>* bytesRead_;
    std::atomic<std::uint64_t>* bytesSized_;
    std::atomic<int>* rowsSized_;
};

}  // namespace velmar
