#include "records/RecordWriter.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "records/RecordEditor.h"
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

} // namespace

CRecordWriter::CRecordWriter(const IClock& clock, std::uint64_t splitBytes)
    : m_clock(clock), m_splitBytes(splitBytes) {}

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
    const std::string base =
        folder + FreeRecordName(folder, RecordName(master, start.nextRecordName, now),
                                master.m_hddRecFileExt != 0);
    if (!OpenFile(base + ".dat")) {
        const int error = errno;
        return CTextFile::OpenFailureMessage(base + ".dat", error, FileDirection::Writing);
    }

    m_header.Describe(start.conditions, start.masterIndex, start.comment);
    m_rowBytes = static_cast<std::size_t>(m_header.GetWordsPerRow()) * 2;
    m_recordBase = base;
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
    if (rowWords == 0 || words < rowWords)
        return {};
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
    return {};
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
    if (m_file == nullptr || m_paused || m_rowBytes == 0)
        return AppendResult::NotWritten;
    const std::uint64_t bytes = rowCount * m_rowBytes;
    if (m_fileBytes > 0 && m_fileBytes + bytes >= m_splitBytes && !Split())
        return AppendResult::Failed;
    if (!WriteWords(rows, bytes / 2)) {
        FailWriting(errno);
        return AppendResult::Failed;
    }
    m_samplesWritten += static_cast<std::uint32_t>(rowCount);
    return AppendResult::Written;
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
        return false;
    }
    ++m_splitCount;
    m_filePaths = PathsOf(base);
    m_fileStartTime = m_clock.GetLocalTime();
    m_fileFirst = end;
    m_filePreRows = 0;
    return true;
}

// The disk took only part of a block: keep the whole rows on it, give the file its header and
// end the record, so that what is on the disk stays readable.
void CRecordWriter::FailWriting(int errorNumber) {
    CloseFile();
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
    if (m_file != nullptr)
        CloseFile();
    std::error_code error;
    if (!std::filesystem::exists(m_filePaths.data, error))
        return m_filePaths.data + kDataMissing;
    return {};
}

std::string CRecordWriter::WriteHeader() {
    std::lock_guard lock(m_fileLock);
    return WriteFileHeader(kNoEnd);
}

std::string CRecordWriter::WriteFileHeader(std::uint32_t endPosition) {
    std::error_code error;
    const std::uint64_t bytes = std::filesystem::file_size(m_filePaths.data, error);
    RecordFileFacts facts;
    facts.headerName = FileName(m_filePaths.header);
    facts.dataName = FileName(m_filePaths.data);
    facts.start = m_fileStartTime;
    facts.preRows = m_filePreRows;
    facts.rows = error || m_rowBytes == 0 ? 0 : bytes / m_rowBytes;
    facts.firstPosition = m_fileFirst;
    facts.endPosition = endPosition;
    TextLines lines;
    m_header.FormatLines(lines, facts, m_marks);
    return CTextFile::WriteTextLines(m_filePaths.header, lines);
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
