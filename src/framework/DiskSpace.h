// How much room is left on the file system of a folder: the PC record stops before the disk is
// full, so that its header still fits and the rest of the desktop keeps working.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class IDiskSpace {
public:
    virtual ~IDiskSpace() = default;
    // Bytes an ordinary user may still write on the file system holding `folder`; nothing when
    // that cannot be told (the folder is gone, the file system does not say).
    virtual std::optional<std::uint64_t> GetFreeBytes(const std::string& folder) const = 0;
};

// The real file systems, as the standard library asks them (statvfs on Linux).
class CFileSystemSpace : public IDiskSpace {
public:
    std::optional<std::uint64_t> GetFreeBytes(const std::string& folder) const override;
};
