#include "monitor/AudioConverter.h"

#include "framework/AudioInput.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

template <typename T> T Load(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::uint8_t ToUnsigned8(double centred) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(centred) + 128L, 0L, 255L));
}

} // namespace

CAudioConverter::CAudioConverter(const AudioFormat& from) : m_from(from) {}

double CAudioConverter::FrameValue(const std::uint8_t* frame) const {
    const int size = m_from.BytesPerSample();
    double sum = 0.0;
    for (int c = 0; c < m_from.channels; ++c) {
        const std::uint8_t* at = frame + c * size;
        switch (m_from.sample) {
        case SampleFormat::UInt8:
            sum += static_cast<double>(*at) - 128.0;
            break;
        case SampleFormat::Int16:
            sum += Load<std::int16_t>(at) / 256.0;
            break;
        case SampleFormat::Int32:
            sum += Load<std::int32_t>(at) / 16777216.0;
            break;
        case SampleFormat::Float: {
            const float value = Load<float>(at);
            sum += std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) * 128.0 : 0.0;
            break;
        }
        }
    }
    return sum / m_from.channels;
}

// Each input frame adds the output rate to the phase; a sample is due each time the phase
// reaches the input rate. Faster inputs are averaged, slower ones repeat their last value.
void CAudioConverter::Convert(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out) {
    const std::size_t frame = static_cast<std::size_t>(m_from.BytesPerFrame());
    std::vector<std::uint8_t> joined;
    if (!m_partial.empty()) {
        joined = std::move(m_partial);
        m_partial.clear();
        joined.insert(joined.end(), bytes.begin(), bytes.end());
        bytes = joined;
    }
    const std::size_t whole = bytes.size() / frame * frame;
    m_partial.assign(bytes.begin() + static_cast<std::ptrdiff_t>(whole), bytes.end());
    for (std::size_t at = 0; at < whole; at += frame) {
        const double value = FrameValue(bytes.data() + at);
        m_sum += value;
        ++m_count;
        m_phase += IAudioInput::kSampleRate;
        while (m_phase >= m_from.rate) {
            m_phase -= m_from.rate;
            out.push_back(ToUnsigned8(m_count > 0 ? m_sum / m_count : value));
            m_sum = 0.0;
            m_count = 0;
        }
    }
}
