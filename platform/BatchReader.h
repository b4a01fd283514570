// Small files opened, read and closed many at a time through io_uring: one
// trip to the kernel for a whole batch rather than four system calls a file,
// which is most of what a small file costs where every system call pays a
// hypervisor. Only a file the batch read whole is to be used; every other
// one the caller reads the plain way (InputFile), which then tells again why
// the batch could not have it, so that no answer ever rests on the batch
// alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace velmar {

// What a batch found of one file.
struct BatchedFile {
    int openError = 0;       // errno of the statx or open that failed; 0 when opened
    bool missing = false;    // that errno says nothing is at the path (ENOENT, ENOTDIR)
    bool regular = false;    // opened, and a regular file: nothing else's bytes are kept
    std::uint64_t size = 0;  // a regular file's size, as statx gave it
    std::size_t bytesRead = 0;
    // The one read gave exactly `size` bytes, fewer than the capacity, so
    // that the file's end was seen: `data` is the whole file.
    bool whole = false;
    std::span<const std::uint8_t> data;  // the bytes read, valid until the next batch
};

// Off: the caller reads every file the plain way, as where io_uring is absent.
enum class Batching { Auto, Off };

struct BatchShape {
    std::size_t files = 64;        // the most files one batch reads
    std::size_t capacity = 65536;  // bytes read of each: a file must be smaller to be whole
};

class BatchReader {
public:
    // A reader for the calling thread, which alone may use it: its ring
    // and buffers, made once and kept for every batch. Nothing with
    // Batching::Off or where io_uring cannot be used; the caller then reads
    // its files the plain way.
    static std::unique_ptr<BatchReader> Make(BatchShape shape = {}, Batching batching = Batching::Auto);
    ~BatchReader();
    BatchReader(const BatchReader&) = delete;
    BatchReader& operator=(const BatchReader&) = delete;

    // The first files of `paths`, up to the shape's count, each opened, read
    // once and closed, in one submission that is waited for whole: their
    // results, in order. A request that has not answered within a second
    // is cancelled, and its file is not whole. Empty for no paths, or when the ring itself failed;
    // the reader is then spent, and the caller reads these files and all
    // after them the plain way.
    std::span<const BatchedFile> Read(std::span<const std::string> paths);

private:
    struct State;
    explicit BatchReader(std::unique_ptr<State> state);

    void Queue(std::size_t file, const std::string& path);
    // The answers the ring holds, taken without waiting: how many.
    unsigned TakeAnswers();
    // Takes `count` answers, waiting for them and cancelling what runs too
    // long; fewer when waiting failed.
    unsigned Reap(unsigned count);
    BatchedFile Outcome(std::size_t file) const;

    std::unique_ptr<State> state_;
};

}  // namespace velmar
