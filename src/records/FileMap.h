// A file mapped read-only into memory, so that a record of many gigabytes is read where it lies
// and only the pages in use are resident. The one unit of the reading side that talks to the
// operating system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class CFileMap {
public:
    CFileMap() = default;
    ~CFileMap();
    CFileMap(const CFileMap&) = delete;
    CFileMap& operator=(const CFileMap&) = delete;

    // Empty, or the message to show. An empty file maps to no bytes.
    std::string Open(const std::string& path);
    void Close();

    std::span<const std::byte> Bytes() const { return {m_data, m_size}; }
    std::uint64_t Size() const { return m_size; }

    // The pages will be read from start to end: read ahead of them.
    void AdviseSequential() const;
    // The whole pages inside [offset, offset + length) leave this process's memory; the page
    // cache keeps them, so reading them again costs no disk access.
    void Release(std::uint64_t offset, std::uint64_t length) const;

private:
    const std::byte* m_data = nullptr;
    std::size_t m_size = 0;
};
