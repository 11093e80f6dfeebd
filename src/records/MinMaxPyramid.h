// The overview of a record: for each channel the smallest and largest number of every bucket of
// rows, level by level. Level 0 buckets hold kBaseRows rows and each level above folds kFactor
// buckets of the one below, as the monitor's display compression folds samples into points.
// Numbers are kept in the channel's own type, so the overview of one-word channels takes
// 2 / kBaseRows * kFactor / (kFactor - 1) of the data (1/24).
//
// Threads: one builder adds rows while any thread reads; a bucket is read only once the rows
// it covers are published (GetBuiltRows, release/acquire), so the two never touch one bucket.
#pragma once

#include "records/BlockMinMax.h"
#include "records/FileMap.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CMinMaxPyramid {
public:
    static constexpr std::uint64_t kBaseRows = 64;
    static constexpr std::uint64_t kFactor = 4;

    CMinMaxPyramid(std::vector<CBlockMinMax::Channel> channels, int rowWords, std::uint64_t rows);
    CMinMaxPyramid(const CMinMaxPyramid&) = delete;
    CMinMaxPyramid& operator=(const CMinMaxPyramid&) = delete;

    // Storage for every level, to be filled by AddRows. Empty, or the message.
    std::string Allocate();
    // Storage read from a cache file: GetStorageBytes() bytes at `offset` of `map`; every row
    // counts as built.
    void Adopt(std::unique_ptr<CFileMap> map, std::uint64_t offset);

    std::uint64_t GetRowCount() const { return m_rows; }
    std::size_t GetChannelCount() const { return m_channels.size(); }
    const std::vector<CBlockMinMax::Channel>& GetChannels() const { return m_channels; }
    int GetRowWords() const { return m_rowWords; }
    std::size_t GetLevelCount() const { return m_levels.size(); }
    std::uint64_t GetBucketRows(std::size_t level) const { return m_levels[level].bucketRows; }
    std::uint64_t GetBucketCount(std::size_t level) const { return m_levels[level].buckets; }
    std::uint64_t GetStorageBytes() const { return m_storageBytes; }
    std::span<const std::byte> GetStorage() const { return {m_data, m_storageBytes}; }

    std::uint64_t GetBuiltRows() const { return m_builtRows.load(std::memory_order_acquire); }
    bool IsComplete() const { return GetBuiltRows() == m_rows; }
    // Buckets of a level whose rows are all built.
    std::uint64_t GetBuiltBuckets(std::size_t level) const;
    // The coarsest level whose buckets hold at most `rows` rows; -1 when even level 0 holds more.
    int LevelFor(double rows) const;

    // The range of a channel over buckets [first, end) of a level (all built).
    NumberRange Get(std::size_t level, std::size_t channel, std::uint64_t first,
                    std::uint64_t end) const;

    // Builder: the next rows of the record, in order, whole rows; any count.
    void AddRows(std::span<const std::uint16_t> words);

private:
    struct Level {
        std::uint64_t bucketRows;
        std::uint64_t buckets;
        std::vector<std::uint64_t> offsets; // of each channel's buckets in the storage
    };

    void AddBuckets(const std::uint16_t* rows, std::uint64_t rowCount);
    void StoreBase(std::uint64_t bucket);
    void FoldUp(bool final);

    std::vector<CBlockMinMax::Channel> m_channels;
    int m_rowWords;
    std::uint64_t m_rows;
    std::vector<Level> m_levels;
    std::uint64_t m_storageBytes = 0;
    std::unique_ptr<std::byte[]> m_owned;
    std::unique_ptr<CFileMap> m_map;
    std::byte* m_writable = nullptr;
    const std::byte* m_data = nullptr;
    std::atomic<std::uint64_t> m_builtRows{0};

    // Builder only.
    CBlockMinMax m_scan;
    std::vector<std::uint16_t> m_pending; // rows of a bucket not yet whole
    std::uint64_t m_addedRows = 0;
    std::vector<std::uint64_t> m_doneBuckets; // per level
};
