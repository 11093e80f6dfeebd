// A simulated microphone for demo mode and tests: it plays back a WAVE file, or a pattern of loud
// and quiet seconds, into the queued buffers from a thread of its own, one buffer per interval.
#pragma once

#include "framework/AudioInput.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CSimAudioInput : public IAudioInput {
public:
    // Fills `count` samples starting at sample `position` of the simulated sound.
    using Source =
        std::function<void(std::uint64_t position, std::uint8_t* out, std::size_t count)>;

    static constexpr const char* kNoDevice = "No audio input device is available.";
    static constexpr const char* kDeviceRemoved = "The audio input device was removed.";
    // The levels of the generated pattern: a tone well above the start level, a hiss below the
    // quiet level.
    static constexpr int kLoudAmplitude = 100;
    static constexpr int kQuietAmplitude = 4;

    // A buffer is handed back every `intervalMs` (0: as soon as one is queued).
    CSimAudioInput(Source source, int intervalMs);
    ~CSimAudioInput() override;

    // `loudSeconds` of a loud tone, then `quietSeconds` of hiss, repeated.
    static Source Pattern(int loudSeconds, int quietSeconds);
    // The samples (already 8-bit mono 11025 Hz) once, then silence.
    static Source Recording(std::vector<std::uint8_t> samples);
    // A WAVE file of any PCM format, converted; empty and `error` set when it cannot be read.
    static Source WaveFile(const std::string& path, std::string& error);

    std::string Open(BufferDone done) override;
    std::string AddBuffer(int index, std::uint8_t* data, std::size_t size) override;
    std::string Start() override;
    void Stop() override;
    void Close() override;
    bool IsOpen() const override;

    // Without a device Open fails as on a machine without a sound card.
    void SetDevicePresent(bool present);
    // The device goes away while capturing: the queued buffers come back empty and no buffer
    // can be queued again.
    void Unplug();
    // Samples delivered since Open.
    std::uint64_t GetPosition() const;

private:
    struct Queued {
        int index;
        std::uint8_t* data;
        std::size_t size;
    };
    void Run();

    const Source m_source;
    const int m_intervalMs;
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    BufferDone m_done;            // guarded by m_lock; set while open
    std::deque<Queued> m_queue;   // guarded by m_lock
    bool m_present = true;        // guarded by m_lock
    bool m_open = false;          // guarded by m_lock
    bool m_running = false;       // guarded by m_lock
    bool m_unplugged = false;     // guarded by m_lock
    std::uint64_t m_position = 0; // guarded by m_lock
    std::thread m_thread;
};
