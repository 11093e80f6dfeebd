#include "setup/CalStatistics.h"

#include "conditions/RecCnd.h"
#include "setup/CalPanelLayout.h"

#include <algorithm>

void CalChannelStats::Reset() {
    blockMin = kMinStart;
    blockMax = kMaxStart;
    overallMin = kMinStart;
    overallMax = kMaxStart;
    mean = 0.0;
    count = 0;
}

CalSampleScale CalSampleScale::Of(const CChCnd& channel) {
    CalSampleScale scale;
    // A residual the recorder could not balance away (at or above the warning percentage) is
    // not a zero offset.
    scale.zeroOffset = channel.GetBalanceCorrection();
    scale.factor = channel.IsCanType() ? channel.m_canFactor
                                       : channel.GetRangeValue() * CChCnd::kRangePerCount;
    return scale;
}

CCalStatistics::CCalStatistics(const CRecCnd& condition, const std::vector<CChCnd*>& channels) {
    for (const CChCnd* channel : channels) {
        const CalSampleScale scale = CalSampleScale::Of(*channel);
        CalChannelStats stats;
        stats.wordIndex = condition.GetSampleWordOffset(channel->m_slot, channel->m_channel);
        // The bar scale spans the full scale; a channel scaled by a factor has no range value.
        const double fullScale = channel->GetRangeValue() > 0.0
                                     ? channel->GetRangeValue()
                                     : scale.factor * CChCnd::kFullScaleCounts;
        stats.displayRange = fullScale != 0.0 ? fullScale : 1.0;
        m_scales.push_back(scale);
        m_stats.push_back(stats);
    }
}

void CCalStatistics::AddFrames(const std::int16_t* words, int frames, int frameWords) {
    std::lock_guard lock(m_lock);
    for (std::size_t i = 0; i < m_stats.size(); ++i) {
        CalChannelStats& s = m_stats[i];
        if (s.paused != 0 || s.wordIndex < 0 || s.wordIndex >= frameWords)
            continue;
        const CalSampleScale& scale = m_scales[i];
        s.blockMin = CalChannelStats::kMinStart;
        s.blockMax = CalChannelStats::kMaxStart;
        const std::int16_t* word = words + s.wordIndex;
        for (int k = 0; k < frames; ++k, word += frameWords) {
            const double value = scale(*word);
            s.blockMin = std::min(s.blockMin, value);
            s.blockMax = std::max(s.blockMax, value);
            s.mean = (s.count * s.mean + value) / (s.count + 1.0);
            ++s.count;
        }
        s.overallMin = std::min(s.overallMin, s.blockMin);
        s.overallMax = std::max(s.overallMax, s.blockMax);
    }
}

void CCalStatistics::Reset(int index, bool all) {
    std::lock_guard lock(m_lock);
    for (int i = 0; i < static_cast<int>(m_stats.size()); ++i) {
        if (all || i == index)
            m_stats[static_cast<std::size_t>(i)].Reset();
    }
}

void CCalStatistics::ResetAll() {
    Reset(0, true);
}

void CCalStatistics::StopStart(int index, bool all) {
    std::lock_guard lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_stats.size()))
        return;
    if (!all) {
        StopStartLocked(index);
        return;
    }
    const bool pause = m_stats[static_cast<std::size_t>(index)].paused == 0;
    for (CalChannelStats& s : m_stats) {
        if (!pause)
            s.Reset();
        s.paused = pause ? 1 : 0;
    }
}

void CCalStatistics::StopStartLocked(int index) {
    CalChannelStats& s = m_stats[static_cast<std::size_t>(index)];
    if (s.paused == 0) {
        s.paused = 1;
        return;
    }
    s.Reset();
    s.paused = 0;
}

void CCalStatistics::StepRange(std::optional<int> index, bool down) {
    std::lock_guard lock(m_lock);
    for (int i = 0; i < static_cast<int>(m_stats.size()); ++i) {
        if (!index || *index == i) {
            double& range = m_stats[static_cast<std::size_t>(i)].displayRange;
            range = CCalPanelLayout::StepRange(range, down);
        }
    }
}

CalChannelStats CCalStatistics::Get(int index) const {
    std::lock_guard lock(m_lock);
    return m_stats.at(static_cast<std::size_t>(index));
}

std::vector<CalChannelStats> CCalStatistics::Snapshot() const {
    std::lock_guard lock(m_lock);
    return m_stats;
}

std::vector<double> CCalStatistics::Means() const {
    std::lock_guard lock(m_lock);
    std::vector<double> means;
    for (const CalChannelStats& s : m_stats)
        means.push_back(s.mean);
    return means;
}
