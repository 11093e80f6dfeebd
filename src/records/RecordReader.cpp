#include "records/RecordReader.h"

#include "conditions/TextNumbers.h"
#include "records/RecordHeaderFiles.h"
#include "records/RecordWriter.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

constexpr const char* kHeaderMissing = " : Header File not exist!";
// A split file is the record's base + "_1", "_2", ...; five digits are a record number instead.
constexpr std::size_t kMaxSplitDigits = 4;

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string FileName(const std::string& path) {
    return fs::path(path).filename().string();
}

std::string WithoutSuffix(const std::string& text, const std::string& suffix) {
    return text.ends_with(suffix) ? text.substr(0, text.size() - suffix.size()) : text;
}

// The record base (folder and name without extension) that `path` names.
std::string BaseOf(const std::string& path) {
    const std::string provisional = ProvisionalHeaderPath(".hdr");
    if (path.ends_with(provisional))
        return WithoutSuffix(path, provisional);
    if (path.ends_with(".hdr"))
        return WithoutSuffix(path, ".hdr");
    return WithoutSuffix(path, ".dat");
}

// The header of a record base: the final one, else the provisional one; empty when neither.
std::string HeaderOf(const std::string& base, bool& provisional) {
    provisional = false;
    if (Exists(base + ".hdr"))
        return base + ".hdr";
    provisional = true;
    const std::string part = ProvisionalHeaderPath(base + ".hdr");
    return Exists(part) ? part : std::string();
}

// The record a split file belongs to: "Run_00003_2" gives "Run_00003" when that record is on
// the disk; empty otherwise.
std::string SplitRecordBase(const std::string& base) {
    const std::size_t underscore = base.find_last_of('_');
    if (underscore == std::string::npos)
        return {};
    const std::string digits = base.substr(underscore + 1);
    const bool isSplit = !digits.empty() && digits.size() <= kMaxSplitDigits &&
                         digits.front() != '0' &&
                         digits.find_first_not_of("0123456789") == std::string::npos;
    const std::string record = base.substr(0, underscore);
    bool provisional = false;
    if (!isSplit || FileName(record).empty() || HeaderOf(record, provisional).empty())
        return {};
    return record;
}

// FILENAME names a file beside the header; folders in it (of either kind) are not followed.
std::string DataFileName(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool SameLayout(const RecordFileHeader& a, const RecordFileHeader& b) {
    if (a.rowWords != b.rowWords || a.channels.size() != b.channels.size())
        return false;
    for (std::size_t i = 0; i < a.channels.size(); ++i) {
        if (a.channels[i].series != b.channels[i].series ||
            a.channels[i].kind != b.channels[i].kind)
            return false;
    }
    return true;
}

unsigned long long Count(std::uint64_t value) {
    return static_cast<unsigned long long>(value);
}

} // namespace

CRecordReader::CRecordReader() = default;
CRecordReader::~CRecordReader() = default;

std::string CRecordReader::Open(const std::string& path) {
    std::string base = BaseOf(path);
    std::string note;
    if (const std::string record = SplitRecordBase(base); !record.empty()) {
        note = FileName(base) + " is a split file of the record " + FileName(record) +
               ": the whole record is shown.";
        base = record;
    }
    Part first;
    first.headerPath = HeaderOf(base, first.provisional);
    if (first.headerPath.empty())
        return base + ".hdr" + kHeaderMissing;
    if (std::string error = OpenPart(first, base); !error.empty())
        return error;
    m_headerPath = first.headerPath;
    m_name = FileName(base);
    if (!note.empty())
        m_notes.insert(m_notes.begin(), note);
    AddPart(std::move(first));
    JoinLaterParts(base);
    FinishTimeline();
    if (m_provisional) {
        const Part& start = m_parts.front();
        const std::string from = start.provisional ? "it was read from its provisional header " +
                                                         FileName(start.headerPath) + " and shows"
                                                   : std::string("it shows");
        m_notes.insert(
            m_notes.begin(),
            FormatText("The record is not finished (still being recorded, or stopped before its "
                       "end): %s the %llu whole rows on the disk.",
                       from.c_str(), Count(m_rowCount)));
    }
    return {};
}

std::string CRecordReader::OpenInMemory(const TextLines& headerLines,
                                        std::span<const std::uint16_t> words) {
    Part part;
    if (std::string error = CRecordHeaderReader::ParseLines(headerLines, part.header);
        !error.empty())
        return error;
    part.words = words.data();
    part.rows = words.size() / static_cast<std::size_t>(part.header.rowWords);
    m_name = part.header.dataset;
    m_notes = part.header.notes;
    AddPart(std::move(part));
    FinishTimeline();
    return {};
}

std::string CRecordReader::OpenPart(Part& part, const std::string& base) {
    if (std::string error = CRecordHeaderReader::Read(part.headerPath, part.header); !error.empty())
        return error;
    for (const std::string& note : part.header.notes)
        m_notes.push_back(FileName(part.headerPath) + ": " + note);
    return MapData(part, base);
}

std::string CRecordReader::MapData(Part& part, const std::string& base) {
    const std::string folder = fs::path(base).parent_path().string();
    const std::string named = DataFileName(part.header.dataName);
    const std::string beside = base + ".dat";
    part.dataPath = named.empty() ? beside : (fs::path(folder) / named).string();
    if (!Exists(part.dataPath) && Exists(beside)) {
        m_notes.push_back(FileName(part.headerPath) + " names the data file " + named +
                          ", which is not there: " + FileName(beside) + " is shown instead.");
        part.dataPath = beside;
    }
    if (!Exists(part.dataPath))
        return part.dataPath + CRecordWriter::kDataMissing;
    part.map = std::make_unique<CFileMap>();
    if (std::string error = part.map->Open(part.dataPath); !error.empty())
        return error;
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(part.header.rowWords) * 2;
    const std::uint64_t bytes = part.map->Size();
    part.words = reinterpret_cast<const std::uint16_t*>(part.map->Bytes().data());
    part.rows = bytes / rowBytes;
    const std::string name = FileName(part.dataPath);
    if (bytes % rowBytes != 0) {
        m_notes.push_back(FormatText("%s ends in part of a row: its last %llu bytes are left out.",
                                     name.c_str(), Count(bytes % rowBytes)));
    }
    if (!part.provisional && part.rows != part.header.rows) {
        m_notes.push_back(FormatText("%s holds %llu whole rows where its header counts %llu.",
                                     name.c_str(), Count(part.rows), Count(part.header.rows)));
    }
    return {};
}

void CRecordReader::AddPart(Part&& part) {
    part.firstRow = m_rowCount;
    m_rowCount += part.rows;
    m_provisional = m_provisional || part.provisional;
    std::size_t beyond = 0;
    for (auto [from, to] :
         {std::pair{&part.header.marks, &m_marks}, std::pair{&part.header.pauses, &m_pauses}}) {
        for (RecordMark mark : *from) {
            if (mark.row > part.rows) {
                ++beyond;
                continue;
            }
            mark.row += part.firstRow;
            to->push_back(std::move(mark));
        }
    }
    if (beyond > 0) {
        m_notes.push_back(FormatText("%zu marks of %s lie beyond its rows and are not shown.",
                                     beyond, FileName(part.headerPath).c_str()));
    }
    m_parts.push_back(std::move(part));
}

void CRecordReader::JoinLaterParts(const std::string& base) {
    for (int number = 1;; ++number) {
        const std::string partBase = base + FormatText("_%d", number);
        Part part;
        if (!OpenLaterPart(partBase, part))
            return;
        AddPart(std::move(part));
    }
}

// The next split file: with its own header when it has one, else (recording stopped right
// after the split) with the layout of the record.
bool CRecordReader::OpenLaterPart(const std::string& base, Part& part) {
    part.headerPath = HeaderOf(base, part.provisional);
    const RecordFileHeader& layout = m_parts.front().header;
    if (part.headerPath.empty()) {
        if (!Exists(base + ".dat"))
            return false;
        part.headerPath = base + ".hdr";
        part.header = layout;
        part.header.marks.clear();
        part.header.pauses.clear();
        part.header.date.clear();
        part.header.dataName.clear();
        m_notes.push_back(FileName(base + ".dat") +
                          " has no header: it is read with the layout of the record.");
    } else if (std::string error = CRecordHeaderReader::Read(part.headerPath, part.header);
               !error.empty()) {
        m_notes.push_back(error);
        return false;
    }
    if (!SameLayout(part.header, layout)) {
        m_notes.push_back(FileName(part.headerPath) +
                          " has other series than the record and is left out.");
        return false;
    }
    if (std::string error = MapData(part, base); !error.empty()) {
        m_notes.push_back(error);
        return false;
    }
    return true;
}

void CRecordReader::FinishTimeline() {
    const RecordFileHeader& header = m_parts.front().header;
    m_timeline.SetRows(header.rowSeconds, header.triggerRow);
    std::size_t pause = 0;
    for (const Part& part : m_parts) {
        const auto start = CRecordTimeline::ParseDateTime(part.header.date, part.header.time);
        if (start)
            m_timeline.AddAnchor(
                part.firstRow + (&part == &m_parts.front() ? header.triggerRow : 0), *start);
        for (; pause < m_pauses.size() && m_pauses[pause].row < part.firstRow + part.rows; ++pause)
            m_timeline.AddTimeOfDay(m_pauses[pause].row, m_pauses[pause].time);
    }
}

std::vector<RecordDataFacts> CRecordReader::GetDataFacts() const {
    std::vector<RecordDataFacts> facts;
    for (const Part& part : m_parts) {
        if (part.dataPath.empty())
            continue;
        std::error_code error;
        const auto modified = fs::last_write_time(part.dataPath, error);
        facts.push_back(
            {part.dataPath, part.map ? part.map->Size() : 0,
             error ? 0 : static_cast<std::int64_t>(modified.time_since_epoch().count())});
    }
    return facts;
}

const CRecordReader::Part& CRecordReader::PartOf(std::uint64_t row) const {
    auto after =
        std::upper_bound(m_parts.begin(), m_parts.end(), row,
                         [](std::uint64_t r, const Part& part) { return r < part.firstRow; });
    return *(after - 1);
}

const std::uint16_t* CRecordReader::Row(std::uint64_t row) const {
    const Part& part = PartOf(row);
    return part.words + (row - part.firstRow) * static_cast<std::uint64_t>(GetRowWords());
}

std::span<const std::uint16_t> CRecordReader::RowRun(std::uint64_t first) const {
    if (first >= m_rowCount)
        return {};
    const Part& part = PartOf(first);
    const auto rowWords = static_cast<std::uint64_t>(GetRowWords());
    return {part.words + (first - part.firstRow) * rowWords,
            (part.firstRow + part.rows - first) * rowWords};
}

double CRecordReader::Number(std::size_t channel, std::uint64_t row) const {
    return GetChannels()[channel].Read(Row(row));
}

double CRecordReader::Value(std::size_t channel, std::uint64_t row) const {
    return GetChannels()[channel].Physical(Number(channel, row));
}

void CRecordReader::ReleaseRows(std::uint64_t first, std::uint64_t count) const {
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(GetRowWords()) * 2;
    const std::uint64_t end = std::min(first + count, m_rowCount);
    for (const Part& part : m_parts) {
        const std::uint64_t from = std::max(first, part.firstRow);
        const std::uint64_t to = std::min(end, part.firstRow + part.rows);
        if (part.map && from < to)
            part.map->Release((from - part.firstRow) * rowBytes, (to - from) * rowBytes);
    }
}

void CRecordReader::AdviseSequential() const {
    for (const Part& part : m_parts) {
        if (part.map)
            part.map->AdviseSequential();
    }
}
