#include "datapath/ThreadInfo.h"

#include "records/RecordWriter.h"

#include <utility>

namespace {

constexpr double kLongIntervalRate = 0.1;
// Seconds times a rate such as 1.28 Hz may fall a hair below the whole number of rows it means.
constexpr double kRowsRounding = 1e-9;

std::uint32_t RowsOf(std::int32_t seconds, double rowRate) {
    return seconds <= 0 ? 0 : static_cast<std::uint32_t>(seconds * rowRate + kRowsRounding);
}

// Frames that make one row: at 0.1 Hz the long-interval setting keeps one frame of 3 or 6.
int SubSamplingOf(const CRecCnd& condition) {
    if (condition.GetRateHz() != kLongIntervalRate)
        return 1;
    if (condition.m_subSamp == 1)
        return 3;
    return condition.m_subSamp == 2 ? 6 : 1;
}

} // namespace

CThreadInfo::CThreadInfo(RunSetup setup) : m_setup(std::move(setup)) {
    if (m_setup.writer != nullptr)
        m_triggersResetAt = m_setup.writer->GetRecordsClosed();
    for (const CRecCnd& condition : m_setup.conditions)
        m_channelCount += condition.CountEnabled(true);
    if (m_setup.conditions.empty())
        return;
    const CRecCnd& reference = m_setup.conditions[static_cast<std::size_t>(m_setup.referenceIndex)];
    const CRecCnd& master = m_setup.conditions[static_cast<std::size_t>(m_setup.masterIndex)];
    m_rate = reference.GetRateHz();
    m_subSampling = SubSamplingOf(reference);
    // The time limit counts rows, so at 0.1 Hz a row of 3 or 6 frames stands for 30 or 60 s.
    m_recordLimit = RowsOf(master.m_hddPostTime, GetRowRate());
    m_preTriggerRows = RowsOf(master.m_hddPreTime, GetRowRate());
}

CThreadInfo::~CThreadInfo() {
    StopThread();
}

bool CThreadInfo::Prepare() {
    return m_display.Init(m_setup.displayFactor, m_setup.displayCapacity, m_channelCount) &&
           m_maxMin.Create(m_channelCount);
}

void CThreadInfo::StartThread(void (*work)(CThreadInfo&)) {
    m_thread = std::thread([this, work] {
        work(*this);
        m_ended = true;
        m_endedEvent.Set();
    });
}

void CThreadInfo::StopThread() {
    if (!m_thread.joinable())
        return;
    m_stopEvent.Set();
    m_endedEvent.Wait();
    m_thread.join();
}

void CThreadInfo::ResetTriggers() {
    m_triggersResetAt = m_setup.writer->GetRecordsClosed();
}

std::string CThreadInfo::TakeNotice() {
    std::lock_guard lock(m_noticeLock);
    return std::exchange(m_notice, {});
}

void CThreadInfo::SetNotice(std::string text) {
    std::lock_guard lock(m_noticeLock);
    m_notice = std::move(text);
}
