// A job's read buffer: one allocation for the whole job, page aligned so the
// kernel can copy into it at full speed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace velmar {

class ReadBuffer {
public:
    static constexpr std::size_t DefaultSize = 524288;

    explicit ReadBuffer(std::size_t size = DefaultSize)
        : size_(size), data_(static_cast<std::uint8_t*>(std::aligned_alloc(4096, RoundUp(size)))) {
        if (!data_) throw std::bad_alloc();
    }
    ~ReadBuffer() { std::free(data_); }
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;

    std::uint8_t* data() { return data_; }
    std::size_t size() const { return size_; }

private:
    static std::size_t RoundUp(std::size_t n) { return (n + 4095) / 4096 * 4096; }
    std::size_t size_;
    std::uint8_t* data_;
};

}  // namespace velmar
