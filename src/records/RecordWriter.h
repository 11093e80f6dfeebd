// The PC record being written: its ".dat" file, split into further files before one reaches
// 2 GB, the ".hdr" file of each, and the marks and resume points the user sets while it runs.
// While a file is written its provisional header (".hdr.part") is kept up to date and room for
// its final header is held on the disk; the record stops before the disk fills up.
//
// Threads: the data thread starts the record and appends rows; the UI thread pauses, marks,
// closes it and writes its header. Everything below is guarded by m_fileLock, taken for one
// short step and never together with another lock. Samples written and the pause flag may also
// be read without it. Appending neither allocates nor waits for anything but the lock and the
// disk, except every few seconds for the provisional header (and every 2 GB for a split).
#pragma once

#include "conditions/RecCnd.h"
#include "framework/Clock.h"
#include "framework/DiskSpace.h"
#include "records/MarkList.h"
#include "records/RecordHeader.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <span>
#include <string>
#include <vector>

// Where a record goes and what its header says that the rows do not.
struct RecordStart {
    const std::vector<CRecCnd>& conditions; // not edited while the record starts
    int masterIndex = 0;
    std::string nextRecordName; // the name in Count mode
    std::string comment;        // the "COMMENT0" text; empty for none
};

struct RecordPaths {
    std::string base;   // folder and name without extension
    std::string header; // base + ".hdr"
    std::string data;   // base + ".dat"
};

enum class AppendResult {
    Written,
    NotWritten, // no record runs, or it is paused
    Stopped,    // the disk is nearly full: the record was closed with its header; see TakeError
    Failed      // the record was closed with what reached the disk; see TakeError
};

enum class PauseChange { None, Paused, Resumed };

class CRecordWriter {
public:
    static constexpr std::uint64_t kSplitBytes = 2147483647;
    // A record stops before a block would leave less than this free in its folder, so that the
    // disk keeps room for the headers, the max/min file and the rest of the desktop.
    static constexpr std::uint64_t kDiskMarginBytes = 64ull << 20;
    // Room held for a final header: the header of four full recorders with a few hundred marks.
    static constexpr std::uint64_t kHeaderRoomBytes = 64ull << 10;
    // How often the provisional header of a running record is written again.
    static constexpr std::uint64_t kProvisionalMs = 2000;
    static constexpr const char* kDataMissing = " : Data File not exist!";

    // The clock gives the start time of the record and of each file split from it, and the
    // times of the provisional headers. The record folder's free space is asked of `space`
    // (the real file systems when none is given).
    explicit CRecordWriter(const IClock& clock, std::uint64_t splitBytes = kSplitBytes,
                           const IDiskSpace* space = nullptr,
                           std::uint64_t marginBytes = kDiskMarginBytes);
    // A record still running is finished as Stop ACQ would.
    ~CRecordWriter();
    CRecordWriter(const CRecordWriter&) = delete;
    CRecordWriter& operator=(const CRecordWriter&) = delete;

    // Creates the data file and writes the pre-trigger rows, oldest first: `older` then `newer`
    // (the two parts of a ring), dropping leading words that do not make a whole row. A record
    // already on the disk under the name is kept and the next free name used (see GetPaths).
    // Returns the message to show, empty when the record runs. A file that cannot be created, or
    // a folder with less free space than the margin, starts no record; a failed pre-trigger
    // write leaves a closed record as a failed Append does.
    std::string Start(const RecordStart& start, std::span<const std::int16_t> older,
                      std::span<const std::int16_t> newer);
    // Whole rows of the record's width; nothing is written while paused.
    AppendResult Append(const std::int16_t* rows, std::size_t rowCount);

    // Stop ACQ: closes the data file; the data path + kDataMissing when it is not on disk.
    std::string Close();
    // Writes the header of the closed record's last file; empty, or the message to show.
    std::string WriteHeader();

    bool IsRecording() const;
    // Records closed so far (by Close, a failure or the disk's margin); splits do not count.
    std::uint32_t GetRecordsClosed() const { return m_recordsClosed.load(); }
    bool IsPaused() const { return m_paused.load(); }
    // Rows written after the pre-trigger part; positions of marks count in these.
    std::uint32_t GetSamplesWritten() const { return m_samplesWritten.load(); }
    std::uint32_t GetPreTriggerRows() const;
    // The row of the current data file at a record position (what the header will say).
    std::uint32_t GetFileRow(std::uint32_t position) const;
    RecordPaths GetPaths() const;
    LocalTime GetStartTime() const;
    // The edit panel on the last record: comments from `master`, and with `newHeaderPath` new
    // names for both files, which then become the record's paths. Empty, or the message.
    std::string EditLastRecord(const CRecCnd& master, const std::string* newHeaderPath = nullptr);
    // The message of the last failure of a running record (write or split), once.
    std::string TakeError();

    // Adds a mark to the running record; false when none runs.
    bool AddMark(std::uint32_t position, const std::string& time, const std::string& memo);
    // Pauses or resumes the running record; a resume point is kept at `time`.
    PauseChange TogglePause(const std::string& time);
    // A copy of the marks and resume points of the current (or last) record.
    CMarkList GetMarks() const;

private:
    bool OpenFile(const std::string& path);
    bool WriteWords(const std::int16_t* words, std::size_t count);
    void CloseFile();
    RecordFileFacts FileFacts(std::uint64_t rows, std::uint32_t endPosition) const;
    std::string WriteFileHeader(std::uint32_t endPosition);
    void WriteProvisional();
    void KeepProvisional();
    std::string BeginFile(const RecordPaths& paths);
    bool IsDiskLow(const std::string& folder, std::uint64_t bytes) const;
    std::string DiskLowMessage(std::string folder, const char* outcome) const;
    void StopForDisk();
    void FailWriting(int errorNumber);
    bool Split();
    std::string CloseLocked();

    const IClock& m_clock;
    const std::uint64_t m_splitBytes;
    const IDiskSpace& m_space;
    const std::uint64_t m_marginBytes;
    mutable std::mutex m_fileLock;
    std::FILE* m_file = nullptr;         // guarded by m_fileLock; open while the record runs
    std::uint64_t m_fileBytes = 0;       // guarded by m_fileLock
    std::uint32_t m_filePreRows = 0;     // guarded by m_fileLock
    std::uint32_t m_fileFirst = 0;       // guarded by m_fileLock
    int m_splitCount = 0;                // guarded by m_fileLock
    std::size_t m_rowBytes = 0;          // guarded by m_fileLock
    std::string m_recordBase;            // guarded by m_fileLock
    std::string m_folder;                // guarded by m_fileLock; the record folder
    std::uint64_t m_headerRoom = 0;      // guarded by m_fileLock; held for the current file
    std::uint64_t m_provisionalTick = 0; // guarded by m_fileLock
    RecordPaths m_filePaths;             // guarded by m_fileLock; the current (or last) file
    LocalTime m_startTime;               // guarded by m_fileLock
    LocalTime m_fileStartTime;           // guarded by m_fileLock
    CRecordHeader m_header;              // guarded by m_fileLock
    CMarkList m_marks;                   // guarded by m_fileLock
    std::string m_error;                 // guarded by m_fileLock
    std::atomic<std::uint32_t> m_samplesWritten{0};
    std::atomic<std::uint32_t> m_recordsClosed{0};
    std::atomic<bool> m_paused{false};
};
