#include "platform/TaskPool.h"

#include <utility>

namespace velmar {

TaskPool::~TaskPool() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    work_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void TaskPool::Start(std::function<void()>& task, std::unique_lock<std::mutex>& lock) {
    ++running_;
    if (idle_ > static_cast<int>(waiting_.size())) {
        waiting_.push_back(std::move(task));
        lock.unlock();
        work_.notify_one();
        return;
    }
    try {
        threads_.emplace_back([this, first = std::move(task)]() mutable { Serve(std::move(first)); });
    } catch (...) {
        --running_;
        throw;
    }
}

void TaskPool::Run(std::function<void()> task) {
    std::unique_lock lock(mutex_);
    Start(task, lock);
}

bool TaskPool::TryRun(std::function<void()> task) {
    std::unique_lock lock(mutex_);
    if (idle_ <= static_cast<int>(waiting_.size()) && static_cast<int>(threads_.size()) >= limit_) return false;
    Start(task, lock);
    return true;
}

void TaskPool::WaitIdle() {
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return running_ == 0; });
}

void TaskPool::Serve(std::function<void()> task) {
    for (;;) {
        task();
        task = nullptr;  // what the task held goes before the thread waits
        std::unique_lock lock(mutex_);
        if (--running_ == 0) ended_.notify_all();
        ++idle_;
        work_.wait(lock, [this] { return quit_ || !waiting_.empty(); });
        --idle_;
        if (waiting_.empty()) return;
        task = std::move(waiting_.front());
        waiting_.pop_front();
    }
}

}  // namespace velmar
