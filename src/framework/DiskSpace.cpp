#include "framework/DiskSpace.h"

#include <filesystem>
#include <system_error>

std::optional<std::uint64_t> CFileSystemSpace::GetFreeBytes(const std::string& folder) const {
    std::error_code error;
    const std::filesystem::space_info space = std::filesystem::space(folder, error);
    if (error || space.available == static_cast<std::uintmax_t>(-1))
        return std::nullopt;
    return static_cast<std::uint64_t>(space.available);
}
