// The live statistics of the channels being calibrated: one record per channel, shared by the
// calibration dialog and its measuring thread under one lock.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

class CChCnd;
class CRecCnd;

struct CalChannelStats {
    static constexpr double kMinStart = 32767.0;
    static constexpr double kMaxStart = -32768.0;

    std::int32_t wordIndex = 0; // the channel's word within one frame of the unit
    double blockMin = kMinStart;
    double blockMax = kMaxStart;
    double overallMin = kMinStart;
    double overallMax = kMaxStart;
    double mean = 0.0;
    std::uint32_t count = 0;
    std::int32_t paused = 0;   // nonzero: the thread skips the channel
    double displayRange = 0.0; // half-height of the panel's bar scale, in the amplifier unit

    // Back to no samples; the word, the pause and the display range stay.
    void Reset();
    bool HasBlock() const { return blockMax >= blockMin; }
    bool HasOverall() const { return overallMax >= overallMin; }
};

// How a raw count becomes the amplifier value the mean is built from:
// (raw - zero offset) x factor.
struct CalSampleScale {
    double zeroOffset = 0.0; // the balance residual the channel corrects, else 0
    double factor = 0.0;     // amplifier units per count
    double operator()(std::int16_t raw) const { return (raw - zeroOffset) * factor; }

    static CalSampleScale Of(const CChCnd& channel);
};

class CCalStatistics {
public:
    // One record per channel, in list order; every channel must be enabled in `condition`.
    CCalStatistics(const CRecCnd& condition, const std::vector<CChCnd*>& channels);

    int Count() const { return static_cast<int>(m_scales.size()); }

    // The measuring thread: `frames` frames of `frameWords` words each into every running
    // channel, block by block.
    void AddFrames(const std::int16_t* words, int frames, int frameWords);

    // The buttons of the dialog. With `all` the action concerns every channel.
    void Reset(int index, bool all);
    // A running channel (or, with `all`, every one) pauses; a paused one is reset and runs.
    void StopStart(int index, bool all);
    void ResetAll();
    // One step of the 1-2-5 sequence down (finer) or up, for one channel or, without an
    // index, for every one.
    void StepRange(std::optional<int> index, bool down);

    CalChannelStats Get(int index) const;
    std::vector<CalChannelStats> Snapshot() const;
    std::vector<double> Means() const;

private:
    void StopStartLocked(int index);

    std::vector<CalSampleScale> m_scales;
    mutable std::mutex m_lock;
    std::vector<CalChannelStats> m_stats; // guarded by m_lock
};
