#include "datapath/DataThreadRing.h"

#include <algorithm>

void CDataThreadRing::Init(std::size_t rows, std::size_t rowWords) {
    m_storage.assign(rows == 0 || rowWords == 0 ? 0 : rows * rowWords + 1, 0);
    Clear();
}

void CDataThreadRing::Push(const std::int16_t* row, std::size_t words) {
    const std::size_t size = m_storage.size();
    if (size <= 1)
        return;
    // A row longer than the ring leaves only its end.
    if (words >= size) {
        row += words - (size - 1);
        words = size - 1;
    }
    const std::size_t first = std::min(words, size - m_head);
    std::copy_n(row, first, m_storage.begin() + static_cast<std::ptrdiff_t>(m_head));
    std::copy_n(row + first, words - first, m_storage.begin());
    const std::size_t used = GetWords();
    m_head = (m_head + words) % size;
    if (used + words >= size)
        m_tail = (m_head + 1) % size;
}

std::size_t CDataThreadRing::GetWords() const {
    const std::size_t size = m_storage.size();
    return size == 0 ? 0 : (m_head + size - m_tail) % size;
}

std::span<const std::int16_t> CDataThreadRing::GetOlder() const {
    if (m_head >= m_tail)
        return std::span<const std::int16_t>(m_storage).subspan(m_tail, m_head - m_tail);
    return std::span<const std::int16_t>(m_storage).subspan(m_tail);
}

std::span<const std::int16_t> CDataThreadRing::GetNewer() const {
    if (m_head >= m_tail)
        return {};
    return std::span<const std::int16_t>(m_storage).first(m_head);
}
