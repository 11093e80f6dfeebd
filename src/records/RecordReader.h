// A PC record opened for reading: its header, the data files mapped into memory, and the files
// a 2 GB split made, joined into one run of rows. A record cut short (only the provisional
// header beside its data, or a data file ending in half a row) opens with its whole rows, and
// its notes say what was done.
#pragma once

#include "records/FileMap.h"
#include "records/RecordHeaderReader.h"
#include "records/RecordTimeline.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// What identifies one data file of a record on the disk.
struct RecordDataFacts {
    std::string path;
    std::uint64_t bytes = 0;
    std::int64_t modified = 0; // last write time in the file system's ticks
};

class CRecordReader {
public:
    CRecordReader();
    ~CRecordReader();
    CRecordReader(const CRecordReader&) = delete;
    CRecordReader& operator=(const CRecordReader&) = delete;

    // `path`: the record's ".hdr", its ".dat", its provisional ".hdr.part", or a split file of
    // it. Empty, or the message to show.
    std::string Open(const std::string& path);
    // A record of one data file from header lines and words in memory.
    std::string OpenInMemory(const TextLines& headerLines, std::span<const std::uint16_t> words);

    const std::string& GetHeaderPath() const { return m_headerPath; }
    const std::string& GetName() const { return m_name; }
    const RecordFileHeader& GetHeader() const { return m_parts.front().header; }
    const std::vector<RecordChannel>& GetChannels() const { return GetHeader().channels; }
    int GetRowWords() const { return GetHeader().rowWords; }
    std::uint64_t GetRowCount() const { return m_rowCount; }
    const CRecordTimeline& GetTimeline() const { return m_timeline; }
    // Marks and resume points at rows of the whole record.
    const std::vector<RecordMark>& GetMarks() const { return m_marks; }
    const std::vector<RecordMark>& GetPauses() const { return m_pauses; }
    const std::vector<std::string>& GetNotes() const { return m_notes; }
    bool IsProvisional() const { return m_provisional; }
    std::size_t GetPartCount() const { return m_parts.size(); }
    std::vector<RecordDataFacts> GetDataFacts() const;

    // The row's words; valid while the record is open.
    const std::uint16_t* Row(std::uint64_t row) const;
    // Rows from `first` that lie one after another in memory (all up to the end of its file).
    std::span<const std::uint16_t> RowRun(std::uint64_t first) const;
    // The number a channel recorded in a row, and its physical value.
    double Number(std::size_t channel, std::uint64_t row) const;
    double Value(std::size_t channel, std::uint64_t row) const;
    // Rows read once and not needed soon leave the process's memory (see CFileMap::Release).
    void ReleaseRows(std::uint64_t first, std::uint64_t count) const;
    void AdviseSequential() const;

private:
    struct Part {
        std::string headerPath;
        std::string dataPath;
        RecordFileHeader header;
        bool provisional = false;
        std::unique_ptr<CFileMap> map;
        const std::uint16_t* words = nullptr;
        std::uint64_t firstRow = 0;
        std::uint64_t rows = 0;
    };

    std::string OpenPart(Part& part, const std::string& base);
    std::string MapData(Part& part, const std::string& base);
    void AddPart(Part&& part);
    void JoinLaterParts(const std::string& base);
    bool OpenLaterPart(const std::string& base, Part& part);
    void FinishTimeline();
    const Part& PartOf(std::uint64_t row) const;

    std::string m_headerPath;
    std::string m_name;
    std::vector<Part> m_parts;
    std::uint64_t m_rowCount = 0;
    CRecordTimeline m_timeline;
    std::vector<RecordMark> m_marks;
    std::vector<RecordMark> m_pauses;
    std::vector<std::string> m_notes;
    bool m_provisional = false;
};
