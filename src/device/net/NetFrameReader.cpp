// Frames cut across pieces of the stream are gathered; whole ones are handed out in place.
#include "device/net/NetFrameReader.h"

#include <algorithm>

std::uint32_t CNetFrameReader::Length(const std::uint8_t* header) {
    return static_cast<std::uint32_t>(header[0]) | static_cast<std::uint32_t>(header[1]) << 8 |
           static_cast<std::uint32_t>(header[2]) << 16 |
           static_cast<std::uint32_t>(header[3]) << 24;
}

std::span<const std::uint8_t> CNetFrameReader::Gather(std::span<const std::uint8_t> bytes) {
    std::size_t wanted = kHeaderBytes - std::min(kHeaderBytes, m_partial.size());
    if (wanted == 0) {
        const std::uint32_t size = Length(m_partial.data());
        wanted = kHeaderBytes + size - m_partial.size();
    }
    const std::size_t taken = std::min(wanted, bytes.size());
    m_partial.insert(m_partial.end(), bytes.begin(), bytes.begin() + taken);
    if (m_partial.size() == kHeaderBytes && Length(m_partial.data()) > m_maxFrameBytes)
        m_broken = true;
    return bytes.subspan(taken);
}

bool CNetFrameReader::Complete() const {
    return !m_broken && m_partial.size() >= kHeaderBytes &&
           m_partial.size() - kHeaderBytes == Length(m_partial.data());
}
