// The samples a client has received and the program not yet read, with the stream's window: the
// server may send at most the window beyond the credit returned, so the buffer never holds more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CNetSampleBuffer {
public:
    // Storage of `windowBytes` is taken with the first samples and is all there ever is.
    explicit CNetSampleBuffer(std::size_t windowBytes) : m_window(windowBytes) {}

    // False, taking nothing, when the bytes would go beyond the window: the peer ignored it.
    bool Push(std::span<const std::uint8_t> bytes);
    // Copies up to `size` bytes, whole 16-bit words only, and returns how many.
    std::size_t Read(std::uint8_t* out, std::size_t size);
    // Drops what is buffered (a new run begins); it counts as read.
    void Clear();
    // The bytes read since the last call, when they reach `step` (to be returned as credit),
    // else 0.
    std::size_t TakeCredit(std::size_t step);

    std::size_t Buffered() const { return m_size; }
    // The storage taken, at most the window.
    std::size_t Capacity() const { return m_ring.size(); }

private:
    const std::size_t m_window;
    std::vector<std::uint8_t> m_ring;
    std::size_t m_head = 0; // the oldest byte
    std::size_t m_size = 0;
    std::size_t m_owed = 0; // read but not yet returned as credit
};
