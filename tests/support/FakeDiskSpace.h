// The free space of record folders as a test sets it, from any thread.
#pragma once

#include "framework/DiskSpace.h"

#include <atomic>
#include <cstdint>

class CFakeDiskSpace : public IDiskSpace {
public:
    std::optional<std::uint64_t> GetFreeBytes(const std::string&) const override {
        const std::int64_t free = m_free.load();
        if (free < 0)
            return std::nullopt;
        return static_cast<std::uint64_t>(free);
    }

    std::atomic<std::int64_t> m_free{-1}; // below 0: the file system does not say
};
