// CFileMap on POSIX: mmap of the whole file, shared and read-only.
#include "records/FileMap.h"

#include "conditions/TextFile.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

CFileMap::~CFileMap() {
    Close();
}

std::string CFileMap::Open(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return CTextFile::OpenFailureMessage(path, errno, FileDirection::Reading);
    struct stat facts {};
    if (::fstat(fd, &facts) != 0) {
        const int error = errno;
        ::close(fd);
        return CTextFile::OpenFailureMessage(path, error, FileDirection::Reading);
    }
    if (facts.st_size > 0) {
        void* data =
            ::mmap(nullptr, static_cast<std::size_t>(facts.st_size), PROT_READ, MAP_SHARED, fd, 0);
        if (data == MAP_FAILED) {
            const int error = errno;
            ::close(fd);
            return CTextFile::OpenFailureMessage(path, error, FileDirection::Reading);
        }
        m_data = static_cast<const std::byte*>(data);
        m_size = static_cast<std::size_t>(facts.st_size);
    }
    // The mapping keeps the file; the descriptor is no longer needed.
    ::close(fd);
    return {};
}

void CFileMap::Close() {
    if (m_data != nullptr)
        ::munmap(const_cast<std::byte*>(m_data), m_size);
    m_data = nullptr;
    m_size = 0;
}

void CFileMap::AdviseSequential() const {
    if (m_data != nullptr)
        ::madvise(const_cast<std::byte*>(m_data), m_size, MADV_SEQUENTIAL);
}

void CFileMap::Release(std::uint64_t offset, std::uint64_t length) const {
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t end = std::min<std::uint64_t>(offset + length, m_size);
    const std::uint64_t first = (offset + page - 1) / page * page;
    const std::uint64_t last = end == m_size ? end : end / page * page;
    if (m_data == nullptr || first >= last)
        return;
    ::madvise(const_cast<std::byte*>(m_data) + first, last - first, MADV_DONTNEED);
}
