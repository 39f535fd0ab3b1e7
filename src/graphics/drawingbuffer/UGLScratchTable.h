#pragma once

#include <array>
#include <cstddef>
#include <vector>

// Scratch storage of a primitive: in the call's own storage up to `InlineCount` entries, on the
// heap beyond, given back when the call ends.
template <typename T, std::size_t InlineCount> class UGLScratchTable {
public:
    explicit UGLScratchTable(std::size_t count)
    {
        if (count > InlineCount)
            heap_.resize(count);
        data_ = count > InlineCount ? heap_.data() : inline_.data();
    }
    UGLScratchTable(const UGLScratchTable&) = delete;
    UGLScratchTable& operator=(const UGLScratchTable&) = delete;

    T* data() { return data_; }
    T& operator[](std::size_t index) { return data_[index]; }

private:
    std::array<T, InlineCount> inline_;
    std::vector<T> heap_;
    T* data_;
};
