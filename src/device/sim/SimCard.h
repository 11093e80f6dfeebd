// The memory card of a simulated recorder, backed by a folder of the PC. Card paths use the
// recorder's "\" and are matched without regard to case, as on the card's file system.
#pragma once

#include "framework/LinkLibrary.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class CSimCard {
public:
    // `setting` as in the configuration: "NONE", "TEMP" or a folder.
    CSimCard(const std::string& setting, int capacityKBytes, const std::string& tempTag);
    ~CSimCard();
    CSimCard(const CSimCard&) = delete;
    CSimCard& operator=(const CSimCard&) = delete;

    bool IsPresent() const { return m_present; }
    // Present: {1, capacity KB, free KB, files, folders}; no card: {0, 0, -1, 0, 0}.
    LinkCardInfo GetInfo() const;

    // A record is the pair name.hdr / name.dat: copying, moving or deleting either one takes
    // both, since the program names records by their header. Results as the link's.
    int Copy(const std::string& cardPath, const std::string& pcPath);
    int Move(const std::string& cardPath, const std::string& pcPath);
    int Delete(const std::string& cardPath);
    int Format();

    // Writes a record of card recording: "<folder>\<base><nnnn>.dat" with the words and a
    // ".hdr" text beside it. Returns the card path of the header, empty when it failed.
    std::string WriteRecord(const std::string& baseName, const std::string& header,
                            const std::vector<std::uint16_t>& words);
    // Every file on the card, as card paths ("\DATA\TEST0001.HDR"), sorted.
    std::vector<std::string> ListFiles() const;
    // The card's directory: the root first, then every folder below it by path, each with its
    // files by name. Names a card path cannot carry are left out.
    std::vector<LinkCardFolder> ListFolders() const;
    std::filesystem::path GetFolder() const { return m_folder; }

    static constexpr const char* kRecordFolder = "DATA";

private:
    bool EnsureFolder();
    // The file a card path names, found without regard to case; empty when there is none or
    // the path tries to leave the card.
    std::filesystem::path Resolve(const std::string& cardPath) const;
    std::vector<std::filesystem::path> RecordFiles(const std::filesystem::path& file) const;
    std::uint64_t UsedBytes() const;

    bool m_present = false;
    bool m_temporary = false;
    bool m_created = false;
    int m_capacityKBytes = 0;
    std::filesystem::path m_folder;
};
