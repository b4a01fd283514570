// One task on the job's pool that reads whole files one after another, for a disk that must
// not be asked for two files at once: each queued file is read front to back
// in large reads, the lowest order first, into a pool of blocks, and its
// consumer takes the blocks as they come on a thread of its own. The disk
// therefore never waits for a core to finish hashing (the reader goes on to
// the next file while the last blocks of this one are still being hashed),
// and a core never waits for a block that is already read. The pool bounds
// the bytes in flight; a block goes back to it once its consumer asks for
// the next.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Files.h"
#include "platform/ReadBuffer.h"
#include "platform/TaskPool.h"

namespace velmar {

class SequentialReader {
    struct Block {
        explicit Block(std::size_t size) : buffer(size) {}
        ReadBuffer buffer;
        ssize_t result = 0;  // the read's result: bytes, 0 at the end, -1 on an error
    };
    struct Queued;

public:
    static constexpr std::size_t DefaultBlockSize = 1048576;
    static constexpr std::size_t DefaultBytesInFlight = 64 * 1048576;

    // The pool's blocks are made as they are first needed, at most
    // bytesInFlight / blockSize of them (two at least).
    explicit SequentialReader(TaskPool& pool, std::size_t blockSize = DefaultBlockSize,
                              std::size_t bytesInFlight = DefaultBytesInFlight);
    // Every stream must be gone first.
    ~SequentialReader();
    SequentialReader(const SequentialReader&) = delete;
    SequentialReader& operator=(const SequentialReader&) = delete;

    // One queued file, as its consumer sees it.
    class Stream {
    public:
        // Gives the block in hand back and waits for the next: its bytes in
        // `data` and the read's result (0 at the end of the file, negative
        // after a read error; nothing follows either).
        ssize_t Next(const std::uint8_t*& data);
        // Withdraws the file, read to its end or not: the reader leaves it
        // once the read under way has returned, and its blocks go back.
        ~Stream();
        Stream(const Stream&) = delete;
        Stream& operator=(const Stream&) = delete;

    private:
        friend class SequentialReader;
        Stream(SequentialReader& reader, std::unique_ptr<Queued> queued) : reader_(reader), queued_(std::move(queued)) {}
        SequentialReader& reader_;
        std::unique_ptr<Queued> queued_;
    };

    // Queues `file`, which must stay open until the stream is gone. Files
    // are begun lowest `order` first, each once the one before it has been
    // read whole; no two queued files may share an order.
    std::unique_ptr<Stream> Queue(InputFile& file, std::int64_t order);

private:
    struct Queued {
        InputFile* file;
        std::int64_t order;
        std::deque<Block*> ready;  // read, not yet taken
        Block* held = nullptr;     // taken by the consumer
        bool withdrawn = false;
    };

    void ReadAll();
    // A block to read the file into; nullptr once the file is withdrawn or
    // the reader quits.
    Block* FreeBlock(std::unique_lock<std::mutex>& lock, const Queued& file);
    void GiveBack(Block* block);                           // under the mutex

    const std::size_t blockSize_;
    const std::size_t maxBlocks_;
    std::vector<std::unique_ptr<Block>> blocks_;  // every block made
    std::vector<Block*> free_;
    std::map<std::int64_t, Queued*> queue_;  // not begun yet
    // The file being read; the reader touches no other, and a consumer who
    // withdraws waits until the reader has let go of it.
    const Queued* current_ = nullptr;
    bool quit_ = false;
    bool done_ = false;  // the reading task has ended
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace velmar
