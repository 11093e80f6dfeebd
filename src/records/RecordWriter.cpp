#include "records/RecordWriter.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "records/RecordEditor.h"
#include "records/RecordHeaderFiles.h"
#include "records/RecordNames.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <utility>

namespace {

constexpr std::uint32_t kNoEnd = std::numeric_limits<std::uint32_t>::max();

RecordPaths PathsOf(const std::string& base) {
    return {base, base + ".hdr", base + ".dat"};
}

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

const IDiskSpace& FileSystems() {
    static const CFileSystemSpace space;
    return space;
}

} // namespace

CRecordWriter::CRecordWriter(const IClock& clock, std::uint64_t splitBytes, const IDiskSpace* space,
                             std::uint64_t marginBytes)
    : m_clock(clock), m_splitBytes(splitBytes), m_space(space != nullptr ? *space : FileSystems()),
      m_marginBytes(marginBytes) {}

CRecordWriter::~CRecordWriter() {
    std::lock_guard lock(m_fileLock);
    if (m_file != nullptr && CloseLocked().empty())
        WriteFileHeader(kNoEnd);
}

std::string CRecordWriter::Start(const RecordStart& start, std::span<const std::int16_t> older,
                                 std::span<const std::int16_t> newer) {
    std::lock_guard lock(m_fileLock);
    // A record left running is finished first so that it keeps its header.
    if (m_file != nullptr && CloseLocked().empty())
        WriteFileHeader(kNoEnd);

    const CRecCnd& master = start.conditions[static_cast<std::size_t>(start.masterIndex)];
    const LocalTime now = m_clock.GetLocalTime();
    const std::string folder = RecordFolder(master);
    if (IsDiskLow(folder, kHeaderRoomBytes + 2 * (older.size() + newer.size())))
        return DiskLowMessage(folder, "not started");
    const std::string base =
        folder + FreeRecordName(folder, RecordName(master, start.nextRecordName, now),
                                master.m_hddRecFileExt != 0);
    if (!OpenFile(base + ".dat")) {
        const int error = errno;
        return CTextFile::OpenFailureMessage(base + ".dat", error, FileDirection::Writing);
    }
    if (std::string error = BeginFile(PathsOf(base)); !error.empty())
        return error;

    m_header.Describe(start.conditions, start.masterIndex, start.comment);
    m_rowBytes = static_cast<std::size_t>(m_header.GetWordsPerRow()) * 2;
    m_recordBase = base;
    m_folder = folder;
    m_filePaths = PathsOf(base);
    m_startTime = m_fileStartTime = now;
    m_splitCount = 0;
    m_fileFirst = 0;
    m_filePreRows = 0;
    m_marks.Clear();
    m_error.clear();
    m_samplesWritten = 0;
    m_paused = false;

    const std::size_t rowWords = m_rowBytes / 2;
    const std::size_t words = older.size() + newer.size();
    if (rowWords == 0 || words < rowWords) {
        WriteProvisional();
        return {};
    }
    // A ring smaller than a row keeps only the end of one; the file stays made of whole rows.
    std::size_t skip = words % rowWords;
    const std::size_t olderSkip = std::min(skip, older.size());
    skip -= olderSkip;
    const bool written = WriteWords(older.data() + olderSkip, older.size() - olderSkip) &&
                         WriteWords(newer.data() + skip, newer.size() - skip);
    m_filePreRows = static_cast<std::uint32_t>(m_fileBytes / m_rowBytes);
    if (!written) {
        FailWriting(errno);
        return m_error;
    }
    WriteProvisional();
    return {};
}

// Holds the room of a new data file's final header before any row can take it; without it the
// new file is closed and removed again.
std::string CRecordWriter::BeginFile(const RecordPaths& paths) {
    if (std::string error = ReserveHeaderRoom(paths.header, kHeaderRoomBytes); !error.empty()) {
        CloseFile();
        std::error_code ignored;
        std::filesystem::remove(paths.data, ignored);
        RemoveHeaderHelpers(paths.header);
        return error;
    }
    m_headerRoom = kHeaderRoomBytes;
    return {};
}

bool CRecordWriter::IsDiskLow(const std::string& folder, std::uint64_t bytes) const {
    const std::optional<std::uint64_t> free = m_space.GetFreeBytes(folder);
    return free && *free < m_marginBytes + bytes;
}

std::string CRecordWriter::DiskLowMessage(std::string folder, const char* outcome) const {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return FormatText("HDD (%s) has less than %llu MB free! The record was %s.", folder.c_str(),
                      static_cast<unsigned long long>(m_marginBytes >> 20), outcome);
}

bool CRecordWriter::OpenFile(const std::string& path) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    // Blocks go straight to the disk: a failure then concerns exactly the block being written.
    std::setvbuf(file, nullptr, _IONBF, 0);
    m_file = file;
    m_fileBytes = 0;
    return true;
}

bool CRecordWriter::WriteWords(const std::int16_t* words, std::size_t count) {
    if (count == 0)
        return true;
    errno = 0;
    const std::size_t done = std::fwrite(words, sizeof(std::int16_t), count, m_file);
    m_fileBytes += done * sizeof(std::int16_t);
    if (done == count)
        return true;
    if (errno == 0)
        errno = EIO;
    return false;
}

void CRecordWriter::CloseFile() {
    std::fclose(m_file);
    m_file = nullptr;
}

AppendResult CRecordWriter::Append(const std::int16_t* rows, std::size_t rowCount) {
    std::lock_guard lock(m_fileLock);
    if (m_file == nullptr || m_rowBytes == 0)
        return AppendResult::NotWritten;
    if (m_paused) {
        KeepProvisional();
        return AppendResult::NotWritten;
    }
    const std::uint64_t bytes = rowCount * m_rowBytes;
    if (IsDiskLow(m_folder, bytes)) {
        StopForDisk();
        return AppendResult::Stopped;
    }
    if (m_fileBytes > 0 && m_fileBytes + bytes >= m_splitBytes && !Split())
        return AppendResult::Failed;
    if (!WriteWords(rows, bytes / 2)) {
        FailWriting(errno);
        return AppendResult::Failed;
    }
    m_samplesWritten += static_cast<std::uint32_t>(rowCount);
    KeepProvisional();
    return AppendResult::Written;
}

void CRecordWriter::KeepProvisional() {
    if (m_clock.GetTickCount() - m_provisionalTick >= kProvisionalMs)
        WriteProvisional();
}

// The header as it would be if the record ended now. A disk too full for it stops the record
// at the next block anyway, so a failure here is left to that.
void CRecordWriter::WriteProvisional() {
    m_provisionalTick = m_clock.GetTickCount();
    TextLines lines;
    m_header.FormatLines(lines, FileFacts(m_rowBytes == 0 ? 0 : m_fileBytes / m_rowBytes, kNoEnd),
                         m_marks);
    // The room grows with the marks, well ahead of the header.
    const std::uint64_t wanted = 2 * HeaderTextBytes(lines);
    if (wanted > m_headerRoom && ReserveHeaderRoom(m_filePaths.header, wanted).empty())
        m_headerRoom = wanted;
    WriteProvisionalHeader(m_filePaths.header, lines);
}

// The disk is nearly full: the record ends here with the rows it has and its header, in the
// room that was kept for it.
void CRecordWriter::StopForDisk() {
    CloseFile();
    ++m_recordsClosed;
    m_error = DiskLowMessage(m_folder, "stopped");
    if (const std::string headerError = WriteFileHeader(kNoEnd); !headerError.empty())
        m_error += "\n" + headerError;
}

// Closes the full file with its header and goes on in base + "_1", "_2", ...
bool CRecordWriter::Split() {
    CloseFile();
    const std::uint32_t end = m_samplesWritten.load();
    if (std::string error = WriteFileHeader(end); !error.empty())
        m_error = error;
    const std::string base = m_recordBase + FormatText("_%d", m_splitCount + 1);
    if (!OpenFile(base + ".dat")) {
        const int error = errno;
        m_error = CTextFile::OpenFailureMessage(base + ".dat", error, FileDirection::Writing);
        ++m_recordsClosed;
        return false;
    }
    if (std::string error = BeginFile(PathsOf(base)); !error.empty()) {
        m_error = error;
        ++m_recordsClosed;
        return false;
    }
    ++m_splitCount;
    m_filePaths = PathsOf(base);
    m_fileStartTime = m_clock.GetLocalTime();
    m_fileFirst = end;
    m_filePreRows = 0;
    WriteProvisional();
    return true;
}

// The disk took only part of a block: keep the whole rows on it, give the file its header and
// end the record, so that what is on the disk stays readable.
void CRecordWriter::FailWriting(int errorNumber) {
    CloseFile();
    ++m_recordsClosed;
    std::error_code error;
    const std::uint64_t rows = m_fileBytes / m_rowBytes;
    std::filesystem::resize_file(m_filePaths.data, rows * m_rowBytes, error);
    m_fileBytes = rows * m_rowBytes;
    m_filePreRows = static_cast<std::uint32_t>(std::min<std::uint64_t>(m_filePreRows, rows));
    m_samplesWritten = m_fileFirst + static_cast<std::uint32_t>(rows - m_filePreRows);
    m_error = CTextFile::OpenFailureMessage(m_filePaths.data, errorNumber, FileDirection::Writing);
    if (const std::string headerError = WriteFileHeader(kNoEnd); !headerError.empty())
        m_error += "\n" + headerError;
}

std::string CRecordWriter::Close() {
    std::lock_guard lock(m_fileLock);
    return CloseLocked();
}

std::string CRecordWriter::CloseLocked() {
    if (m_file != nullptr) {
        CloseFile();
        ++m_recordsClosed;
    }
    std::error_code error;
    if (!std::filesystem::exists(m_filePaths.data, error)) {
        RemoveHeaderHelpers(m_filePaths.header);
        return m_filePaths.data + kDataMissing;
    }
    return {};
}

std::string CRecordWriter::WriteHeader() {
    std::lock_guard lock(m_fileLock);
    return WriteFileHeader(kNoEnd);
}

RecordFileFacts CRecordWriter::FileFacts(std::uint64_t rows, std::uint32_t endPosition) const {
    RecordFileFacts facts;
    facts.headerName = FileName(m_filePaths.header);
    facts.dataName = FileName(m_filePaths.data);
    facts.start = m_fileStartTime;
    facts.preRows = m_filePreRows;
    facts.rows = rows;
    facts.firstPosition = m_fileFirst;
    facts.endPosition = endPosition;
    return facts;
}

std::string CRecordWriter::WriteFileHeader(std::uint32_t endPosition) {
    std::error_code error;
    const std::uint64_t bytes = std::filesystem::file_size(m_filePaths.data, error);
    TextLines lines;
    m_header.FormatLines(
        lines, FileFacts(error || m_rowBytes == 0 ? 0 : bytes / m_rowBytes, endPosition), m_marks);
    return WriteFinalHeader(m_filePaths.header, lines);
}

bool CRecordWriter::IsRecording() const {
    std::lock_guard lock(m_fileLock);
    return m_file != nullptr;
}

std::uint32_t CRecordWriter::GetPreTriggerRows() const {
    std::lock_guard lock(m_fileLock);
    return m_splitCount == 0 ? m_filePreRows : 0;
}

std::uint32_t CRecordWriter::GetFileRow(std::uint32_t position) const {
    std::lock_guard lock(m_fileLock);
    return position - m_fileFirst + m_filePreRows;
}

RecordPaths CRecordWriter::GetPaths() const {
    std::lock_guard lock(m_fileLock);
    return m_filePaths;
}

LocalTime CRecordWriter::GetStartTime() const {
    std::lock_guard lock(m_fileLock);
    return m_startTime;
}

std::string CRecordWriter::EditLastRecord(const CRecCnd& master, const std::string* newHeaderPath) {
    std::lock_guard lock(m_fileLock);
    if (m_file != nullptr)
        return {};
    if (newHeaderPath == nullptr)
        return EditRecordHeader(m_filePaths, master, nullptr);
    const RecordPaths renamed = RecordPathsFor(*newHeaderPath);
    std::string error = EditRecordHeader(m_filePaths, master, &renamed);
    if (error.empty())
        m_filePaths = renamed;
    return error;
}

std::string CRecordWriter::TakeError() {
    std::lock_guard lock(m_fileLock);
    return std::exchange(m_error, {});
}

bool CRecordWriter::AddMark(std::uint32_t position, const std::string& time,
                            const std::string& memo) {
    std::lock_guard lock(m_fileLock);
    if (m_file == nullptr)
        return false;
    m_marks.AddMark(position, time, memo);
    return true;
}

PauseChange CRecordWriter::TogglePause(const std::string& time) {
    std::lock_guard lock(m_fileLock);
    if (m_file == nullptr)
        return PauseChange::None;
    const bool paused = !m_paused.load();
    m_paused = paused;
    if (paused)
        return PauseChange::Paused;
    m_marks.AddResume(m_samplesWritten.load(), time);
    return PauseChange::Resumed;
}

CMarkList CRecordWriter::GetMarks() const {
    std::lock_guard lock(m_fileLock);
    return m_marks;
}
