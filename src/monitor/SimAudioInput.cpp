#include "monitor/SimAudioInput.h"

#include "monitor/AudioConverter.h"
#include "monitor/WaveFile.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

// A tone of 441 Hz: 25 samples a period, so every second holds whole periods.
std::uint8_t Tone(std::uint64_t position, int amplitude) {
    const double phase = 2.0 * std::numbers::pi * static_cast<double>(position % 25) / 25.0;
    return static_cast<std::uint8_t>(128 + std::lround(amplitude * std::sin(phase)));
}

} // namespace

CSimAudioInput::CSimAudioInput(Source source, int intervalMs)
    : m_source(std::move(source)), m_intervalMs(intervalMs) {}

CSimAudioInput::~CSimAudioInput() {
    Stop();
}

CSimAudioInput::Source CSimAudioInput::Pattern(int loudSeconds, int quietSeconds) {
    const std::uint64_t cycle = static_cast<std::uint64_t>(std::max(1, loudSeconds + quietSeconds));
    return [=](std::uint64_t position, std::uint8_t* out, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t at = position + i;
            const bool loud = (at / IAudioInput::kSampleRate) % cycle <
                              static_cast<std::uint64_t>(std::max(0, loudSeconds));
            out[i] = Tone(at, loud ? kLoudAmplitude : kQuietAmplitude);
        }
    };
}

CSimAudioInput::Source CSimAudioInput::Recording(std::vector<std::uint8_t> samples) {
    auto shared = std::make_shared<const std::vector<std::uint8_t>>(std::move(samples));
    return [shared](std::uint64_t position, std::uint8_t* out, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t at = position + i;
            out[i] = at < shared->size() ? (*shared)[static_cast<std::size_t>(at)] : 128;
        }
    };
}

CSimAudioInput::Source CSimAudioInput::WaveFile(const std::string& path, std::string& error) {
    AudioFormat format;
    std::vector<std::uint8_t> bytes;
    error = CWaveFile::Read(path, format, bytes);
    if (!error.empty())
        return {};
    std::vector<std::uint8_t> samples;
    CAudioConverter(format).Convert(bytes, samples);
    return Recording(std::move(samples));
}

std::string CSimAudioInput::Open(BufferDone done) {
    std::lock_guard lock(m_lock);
    if (!m_present)
        return kNoDevice;
    m_done = std::move(done);
    m_open = true;
    m_unplugged = false;
    m_position = 0;
    return {};
}

std::string CSimAudioInput::AddBuffer(int index, std::uint8_t* data, std::size_t size) {
    {
        std::lock_guard lock(m_lock);
        if (!m_open)
            return kNoDevice;
        if (m_unplugged)
            return kDeviceRemoved;
        m_queue.push_back({index, data, size});
    }
    m_wake.notify_all();
    return {};
}

std::string CSimAudioInput::Start() {
    std::lock_guard lock(m_lock);
    if (!m_open)
        return kNoDevice;
    if (!m_running) {
        m_running = true;
        m_thread = std::thread(&CSimAudioInput::Run, this);
    }
    return {};
}

void CSimAudioInput::Stop() {
    {
        std::lock_guard lock(m_lock);
        m_running = false;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard lock(m_lock);
    m_queue.clear();
}

void CSimAudioInput::Close() {
    Stop();
    std::lock_guard lock(m_lock);
    m_open = false;
    m_done = {};
}

bool CSimAudioInput::IsOpen() const {
    std::lock_guard lock(m_lock);
    return m_open;
}

void CSimAudioInput::SetDevicePresent(bool present) {
    std::lock_guard lock(m_lock);
    m_present = present;
}

void CSimAudioInput::Unplug() {
    {
        std::lock_guard lock(m_lock);
        m_unplugged = true;
    }
    m_wake.notify_all();
}

std::uint64_t CSimAudioInput::GetPosition() const {
    std::lock_guard lock(m_lock);
    return m_position;
}

void CSimAudioInput::Run() {
    using Clock = std::chrono::steady_clock;
    const auto interval = std::chrono::milliseconds(m_intervalMs);
    auto next = Clock::now() + interval;
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [&] { return !m_running || !m_queue.empty(); });
        if (!m_running)
            return;
        if (!m_unplugged && m_intervalMs > 0) {
            // A buffer queued late is not made up for with a burst.
            next = std::max(next, Clock::now());
            if (m_wake.wait_until(lock, next, [&] { return !m_running || m_unplugged; }))
                continue;
            next += interval;
        }
        const Queued buffer = m_queue.front();
        m_queue.pop_front();
        const std::size_t bytes = m_unplugged ? 0 : buffer.size;
        const std::uint64_t position = m_position;
        m_position += bytes;
        const BufferDone done = m_done;
        lock.unlock();
        if (bytes > 0)
            m_source(position, buffer.data, bytes);
        done(buffer.index, bytes);
        lock.lock();
    }
}
