#include "platform/SequentialReader.h"

#include <algorithm>

namespace velmar {

SequentialReader::SequentialReader(TaskPool& pool, std::size_t blockSize, std::size_t bytesInFlight)
    : blockSize_(blockSize), maxBlocks_(std::max<std::size_t>(2, bytesInFlight / blockSize)) {
    pool.Run([this] {
        ReadAll();
        std::lock_guard lock(mutex_);
        done_ = true;
        changed_.notify_all();
    });
}

SequentialReader::~SequentialReader() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return done_; });
}

std::unique_ptr<SequentialReader::Stream> SequentialReader::Queue(InputFile& file, std::int64_t order) {
    auto queued = std::make_unique<Queued>();
    queued->file = &file;
    queued->order = order;
    {
        std::lock_guard lock(mutex_);
        queue_.emplace(order, queued.get());
    }
    changed_.notify_all();
    return std::unique_ptr<Stream>(new Stream(*this, std::move(queued)));
}

SequentialReader::Block* SequentialReader::FreeBlock(std::unique_lock<std::mutex>& lock, const Queued& file) {
    changed_.wait(lock, [&] { return quit_ || file.withdrawn || !free_.empty() || blocks_.size() < maxBlocks_; });
    if (quit_ || file.withdrawn) return nullptr;
    if (free_.empty()) {
        blocks_.push_back(std::make_unique<Block>(blockSize_));
        return blocks_.back().get();
    }
    Block* block = free_.back();
    free_.pop_back();
    return block;
}

void SequentialReader::GiveBack(Block* block) {
    free_.push_back(block);
    changed_.notify_all();
}

void SequentialReader::ReadAll() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return quit_ || !queue_.empty(); });
        if (quit_) return;
        Queued& file = *queue_.begin()->second;
        queue_.erase(queue_.begin());
        current_ = &file;
        // Large reads in a row: the kernel reads ahead of them, and the
        // disk streams one file at full speed.
        file.file->AdviseSequential();
        while (Block* block = FreeBlock(lock, file)) {
            // The block is the reader's alone until the read returns.
            lock.unlock();
            block->result = file.file->Read(block->buffer.data(), blockSize_);
            lock.lock();
            const bool last = block->result <= 0;
            if (file.withdrawn) GiveBack(block);
            else file.ready.push_back(block);
            changed_.notify_all();
            if (last || file.withdrawn) break;
        }
        current_ = nullptr;
        changed_.notify_all();
    }
}

ssize_t SequentialReader::Stream::Next(const std::uint8_t*& data) {
    SequentialReader& reader = reader_;
    Queued& file = *queued_;
    std::unique_lock lock(reader.mutex_);
    if (file.held) {
        // The end came with the block in hand; there is nothing after it.
        if (file.held->result <= 0) return file.held->result;
        reader.GiveBack(file.held);
        file.held = nullptr;
    }
    reader.changed_.wait(lock, [&] { return !file.ready.empty() || reader.quit_; });
    if (file.ready.empty()) return -1;
    file.held = file.ready.front();
    file.ready.pop_front();
    data = file.held->buffer.data();
    return file.held->result;
}

SequentialReader::Stream::~Stream() {
    SequentialReader& reader = reader_;
    Queued& file = *queued_;
    std::unique_lock lock(reader.mutex_);
    file.withdrawn = true;
    if (const auto it = reader.queue_.find(file.order); it != reader.queue_.end() && it->second == &file)
        reader.queue_.erase(it);
    reader.changed_.notify_all();
    reader.changed_.wait(lock, [&] { return reader.current_ != &file; });
    if (file.held) reader.GiveBack(file.held);
    for (Block* block : file.ready) reader.GiveBack(block);
}

}  // namespace velmar
