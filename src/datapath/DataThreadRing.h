// The pre-trigger ring of a run: the raw rows of the last seconds before a PC record starts,
// which become the first rows of its data file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CDataThreadRing {
public:
    // `rows` whole rows of `rowWords` words; one more word stays free so that a full ring and an
    // empty one differ. No rows: the ring keeps nothing.
    void Init(std::size_t rows, std::size_t rowWords);

    // Appends one row at the head; the oldest words make room when the ring is full.
    void Push(const std::int16_t* row, std::size_t words);
    void Clear() { m_tail = m_head = 0; }

    // The rows held, oldest first, as the two parts of the storage they lie in.
    std::span<const std::int16_t> GetOlder() const;
    std::span<const std::int16_t> GetNewer() const;
    std::size_t GetWords() const;

private:
    std::vector<std::int16_t> m_storage;
    std::size_t m_tail = 0; // oldest word
    std::size_t m_head = 0; // where the next word goes
};
