// Files arrive one after the other, each in one or more pieces.
#include "device/net/NetFileSink.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {
// Until it is whole a file carries this suffix, so no one takes it for a record file.
constexpr const char* kPartSuffix = ".part";
} // namespace

CNetFileSink::~CNetFileSink() {
    std::lock_guard lock(m_mutex);
    Discard();
}

fs::path CNetFileSink::PartPath(const std::string& name) const {
    return m_folder / (name + kPartSuffix);
}

void CNetFileSink::Write(const std::string& name, const std::uint8_t* data, std::size_t size) {
    std::lock_guard lock(m_mutex);
    if (m_failed)
        return;
    const bool plain = !name.empty() && name != "." && name != ".." &&
                       name.find_first_of("/\\") == std::string::npos &&
                       name.find('\0') == std::string::npos;
    // Any other name could overwrite another file of the folder, or one of these parts.
    const bool accepted = std::ranges::find(m_accepted, name) != m_accepted.end();
    if (!plain || !accepted || size > m_maxBytes - m_written) {
        m_failed = true;
        return;
    }
    m_written += size;
    if (m_names.empty() || m_names.back() != name) {
        if (std::ranges::find(m_names, name) != m_names.end()) {
            m_failed = true; // a file comes in one stretch
            return;
        }
        m_file.close();
        m_names.push_back(name);
        m_file.open(PartPath(name), std::ios::binary | std::ios::trunc);
    }
    m_file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    m_failed = !m_file;
}

bool CNetFileSink::Commit() {
    std::lock_guard lock(m_mutex);
    m_file.close();
    m_failed = m_failed || m_file.fail();
    // Each renamed file is whole, so one that was renamed stays even when a later one fails.
    std::error_code error;
    for (auto name = m_names.begin(); !m_failed && name != m_names.end();) {
        fs::rename(PartPath(*name), m_folder / *name, error);
        m_failed = static_cast<bool>(error);
        if (!m_failed)
            name = m_names.erase(name);
    }
    if (m_failed) {
        Discard();
        return false;
    }
    m_names.clear();
    return true;
}

void CNetFileSink::Discard() {
    m_file.close();
    std::error_code error;
    for (const std::string& name : m_names) {
        fs::remove(PartPath(name), error);
    }
    m_names.clear();
    m_failed = true;
}
