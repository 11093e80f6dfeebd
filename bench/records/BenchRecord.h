// Large records for the reading benchmarks, written by the acquisition's writer: one recorder of
// 64 channels at 10 kHz (128 bytes a row, 1.28 MB/s), optionally with a quarter of them 32-bit.
#pragma once

#include "records/RecordWriter.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct BenchRecord {
    std::string folder;
    std::string header;
    std::uint64_t bytes = 0;
    double rowsPerSecond = 10000.0;
    int rowWords = 0;
};

inline std::vector<CRecCnd> BenchConditions(const std::string& folder, bool wide) {
    std::vector<CRecCnd> conditions(1);
    CRecCnd& condition = conditions[0];
    condition.m_rate = "10kHz";
    condition.m_baseFileName = "Bench";
    condition.m_hddRecFolder = folder;
    condition.m_hddRecFileExt = 1;
    for (int channel = 0; channel < 64; ++channel) {
        CChCnd ch;
        ch.m_slot = static_cast<std::int16_t>(1 + channel / 8);
        ch.m_channel = static_cast<std::int16_t>(channel % 8);
        ch.m_enabled = 1;
        ch.SetRange("10V");
        if (wide && channel % 4 == 3)
            ch.SetDataType(2);
        condition.m_channels.push_back(ch);
    }
    return conditions;
}

// Writes about `bytes` of rows (split at 2 GB as always) into `folder`, made anew.
inline BenchRecord WriteBenchRecord(const std::string& folder, std::uint64_t bytes, bool wide) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::vector<CRecCnd> conditions = BenchConditions(folder, wide);
    const int rowWords = conditions[0].CountSampleWords(true);
    constexpr std::size_t kBlockRows = 10000;
    // Each channel a sine of its own period, with noise: realistic work for min/max.
    std::array<std::int16_t, 4096> sine{};
    for (std::size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<std::int16_t>(20000.0 * std::sin(2.0 * M_PI * i / sine.size()));
    std::vector<std::int16_t> block(kBlockRows * static_cast<std::size_t>(rowWords));
    CSystemClock clock;
    CRecordWriter writer(clock);
    writer.Start({conditions, 0, "Bench_00001", ""}, {}, {});
    std::uint32_t noise = 12345;
    std::uint64_t row = 0;
    for (std::uint64_t written = 0; written < bytes; written += block.size() * 2) {
        std::int16_t* at = block.data();
        for (std::size_t r = 0; r < kBlockRows; ++r, ++row) {
            for (int w = 0; w < rowWords; ++w) {
                noise = noise * 1664525u + 1013904223u;
                *at++ = static_cast<std::int16_t>(sine[(row * (w + 1) / 8) & 4095] +
                                                  static_cast<std::int16_t>(noise >> 24));
            }
        }
        writer.Append(block.data(), kBlockRows);
    }
    writer.Close();
    writer.WriteHeader();
    BenchRecord record;
    record.folder = folder;
    record.header = folder + "/Bench_00001.hdr";
    record.rowWords = rowWords;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".dat")
            record.bytes += entry.file_size();
    }
    return record;
}

// Reads the files once so that the benchmarks measure reading from the page cache.
inline void WarmPageCache(const BenchRecord& record) {
    std::vector<char> buffer(1 << 20);
    for (const auto& entry : std::filesystem::directory_iterator(record.folder)) {
        std::FILE* file = std::fopen(entry.path().c_str(), "rb");
        while (file != nullptr && std::fread(buffer.data(), 1, buffer.size(), file) > 0) {
        }
        if (file != nullptr)
            std::fclose(file);
    }
}
