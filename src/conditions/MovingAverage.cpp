#include "conditions/MovingAverage.h"

void CMovingAverage::Prepare(int window) {
    m_window = window < 1 ? 0 : window;
    m_ring.assign(static_cast<std::size_t>(m_window) + 1, 0.0);
    m_head = 0;
    m_tail = 0;
    m_sum = 0.0;
}

double CMovingAverage::Add(double value) {
    if (m_window < 1)
        return 0.0;
    const std::size_t capacity = m_ring.size();
    m_sum += value;
    const std::size_t held = (m_tail + capacity - m_head) % capacity;
    m_ring[m_tail] = value;
    m_tail = (m_tail + 1) % capacity;
    if (held == static_cast<std::size_t>(m_window)) {
        m_sum -= m_ring[m_head];
        m_head = (m_head + 1) % capacity;
        return m_sum / m_window;
    }
    return m_sum / static_cast<double>(held + 1);
}
