#include "records/RecordOverview.h"

#include "records/PyramidCache.h"

#include <algorithm>
#include <utility>

CRecordOverview::CRecordOverview(const CRecordReader& record)
    : m_record(record),
      m_pyramid(std::make_unique<CMinMaxPyramid>(CBlockMinMax::ChannelsOf(record.GetChannels()),
                                                 record.GetRowWords(), record.GetRowCount())) {}

CRecordOverview::~CRecordOverview() {
    m_cancel = true;
    Wait();
}

std::string CRecordOverview::Start(std::uint64_t cacheFromBytes) {
    const std::vector<RecordDataFacts> facts = m_record.GetDataFacts();
    std::uint64_t bytes = 0;
    for (const RecordDataFacts& file : facts)
        bytes += file.bytes;
    // A record still being written changes under the cache; it gets one when it is finished.
    const bool cached = !facts.empty() && bytes >= cacheFromBytes && !m_record.IsProvisional();
    const std::string cachePath =
        cached ? CPyramidCache::PathFor(m_record.GetHeaderPath()) : std::string();
    if (cached && CPyramidCache::Load(cachePath, facts, *m_pyramid)) {
        m_fromCache = true;
        return {};
    }
    if (std::string error = m_pyramid->Allocate(); !error.empty())
        return error;
    m_builder = std::thread([this, cachePath] { Build(cachePath); });
    return {};
}

void CRecordOverview::Build(std::string cachePath) {
    const std::uint64_t rows = m_record.GetRowCount();
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(m_record.GetRowWords()) * 2;
    const std::uint64_t runRows =
        std::max<std::uint64_t>(1, kRunBytes / rowBytes / CMinMaxPyramid::kBaseRows) *
        CMinMaxPyramid::kBaseRows;
    m_record.AdviseSequential();
    for (std::uint64_t row = 0; row < rows && !m_cancel;) {
        const std::span<const std::uint16_t> run = m_record.RowRun(row);
        const std::uint64_t count = std::min<std::uint64_t>(run.size() / (rowBytes / 2), runRows);
        m_pyramid->AddRows(run.first(count * (rowBytes / 2)));
        // Rows read once leave the process's memory: a record of many gigabytes is read through
        // a window of one run.
        m_record.ReleaseRows(row, count);
        row += count;
    }
    if (m_cancel || cachePath.empty())
        return;
    std::string error = CPyramidCache::Save(cachePath, m_record.GetDataFacts(), *m_pyramid);
    std::lock_guard lock(m_errorLock);
    m_cacheError = std::move(error);
}

double CRecordOverview::GetProgress() const {
    const std::uint64_t rows = m_pyramid->GetRowCount();
    return rows == 0 ? 1.0
                     : static_cast<double>(m_pyramid->GetBuiltRows()) / static_cast<double>(rows);
}

void CRecordOverview::Wait() {
    if (m_builder.joinable())
        m_builder.join();
}

std::string CRecordOverview::TakeCacheError() {
    std::lock_guard lock(m_errorLock);
    return std::exchange(m_cacheError, {});
}
