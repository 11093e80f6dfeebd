// The PC side of a card file copy: the files the recorder sends are written beside their final
// names and take those names only once all of them arrived whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

class CNetFileSink {
public:
    // Only files of the given names, which together may hold at most `maxBytes`.
    CNetFileSink(std::filesystem::path folder, std::vector<std::string> names,
                 std::uint64_t maxBytes)
        : m_folder(std::move(folder)), m_accepted(std::move(names)), m_maxBytes(maxBytes) {}
    // Parts that never got their final name are removed.
    ~CNetFileSink();
    CNetFileSink(const CNetFileSink&) = delete;
    CNetFileSink& operator=(const CNetFileSink&) = delete;

    // Appends to the named file of the folder. A name that is not a plain file name or not one
    // of those accepted, bytes beyond the bound or a failed write fail the whole copy.
    void Write(const std::string& name, const std::uint8_t* data, std::size_t size);
    // Gives every file its final name; false when anything failed (the parts are removed).
    bool Commit();

private:
    std::filesystem::path PartPath(const std::string& name) const;
    void Discard(); // guarded by m_mutex (held by the caller)

    const std::filesystem::path m_folder;
    const std::vector<std::string> m_accepted;
    const std::uint64_t m_maxBytes;
    std::uint64_t m_written = 0; // guarded by m_mutex
    std::mutex m_mutex;
    std::vector<std::string> m_names; // guarded by m_mutex; parts in the order they arrived
    std::ofstream m_file;             // guarded by m_mutex; the last name's
    bool m_failed = false;            // guarded by m_mutex
};
