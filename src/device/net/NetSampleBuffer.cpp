// A ring of the window's size: a frame of any size costs its bytes and nothing more.
#include "device/net/NetSampleBuffer.h"

#include <algorithm>
#include <cstring>
#include <utility>

bool CNetSampleBuffer::Push(std::span<const std::uint8_t> bytes) {
    // What the server sent and got no credit for yet: the buffered bytes and those read since.
    if (m_size + m_owed + bytes.size() > m_window)
        return false;
    if (m_ring.empty())
        m_ring.resize(m_window);
    std::size_t tail = (m_head + m_size) % m_window;
    for (std::span<const std::uint8_t> left = bytes; !left.empty();) {
        const std::size_t part = std::min(left.size(), m_window - tail);
        std::memcpy(m_ring.data() + tail, left.data(), part);
        left = left.subspan(part);
        tail = (tail + part) % m_window;
    }
    m_size += bytes.size();
    return true;
}

std::size_t CNetSampleBuffer::Read(std::uint8_t* out, std::size_t size) {
    const std::size_t taken = std::min(size, m_size) & ~std::size_t(1);
    for (std::size_t left = taken; left > 0;) {
        const std::size_t part = std::min(left, m_window - m_head);
        std::memcpy(out, m_ring.data() + m_head, part);
        out += part;
        left -= part;
        m_head = (m_head + part) % m_window;
    }
    m_size -= taken;
    m_owed += taken;
    return taken;
}

void CNetSampleBuffer::Clear() {
    m_owed += m_size;
    m_size = 0;
    m_head = 0;
}

std::size_t CNetSampleBuffer::TakeCredit(std::size_t step) {
    return m_owed >= step ? std::exchange(m_owed, 0) : 0;
}
