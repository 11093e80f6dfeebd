// Turns the samples a sound device or a WAVE file delivers into the voice notes' format:
// 8-bit unsigned mono at 11025 Hz (channels averaged, the rate changed by averaging or holding).
#pragma once

#include "monitor/WaveFile.h"

#include <cstdint>
#include <span>
#include <vector>

class CAudioConverter {
public:
    explicit CAudioConverter(const AudioFormat& from);

    // Appends the converted samples of `bytes`; a frame cut at the end waits for the next call.
    void Convert(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out);
    const AudioFormat& GetFormat() const { return m_from; }

private:
    // One frame as a centred value in 8-bit steps (-128 .. 127), channels averaged.
    double FrameValue(const std::uint8_t* frame) const;

    AudioFormat m_from;
    std::vector<std::uint8_t> m_partial; // the start of a frame cut by the last call
    std::int64_t m_phase = 0;            // output rate units collected towards the next sample
    double m_sum = 0.0;                  // frames averaged into the next output sample
    int m_count = 0;
};
