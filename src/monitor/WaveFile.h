// Voice-note WAVE files: writing 8-bit unsigned mono 11025 Hz samples as a RIFF file, and
// reading the PCM samples of a WAVE file for the simulated microphone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class SampleFormat { UInt8, Int16, Int32, Float };

struct AudioFormat {
    SampleFormat sample = SampleFormat::UInt8;
    int channels = 1;
    int rate = 11025;

    int BytesPerSample() const;
    int BytesPerFrame() const { return BytesPerSample() * channels; }
    bool operator==(const AudioFormat&) const = default;
};

class CWaveFile {
public:
    // The stream buffer of the file while it is written.
    static constexpr std::size_t kIoBufferBytes = 131072;
    // "RIFF" + size + "WAVE", "fmt " + 18 + the format record, "data" + size.
    static constexpr std::size_t kHeaderBytes = 12 + 8 + 18 + 8;
    static constexpr const char* kOpenFailed = "Failed to open file.";

    // The header of a file holding `dataBytes` samples (the data chunk padded to an even length).
    static std::vector<std::uint8_t> Header(std::size_t dataBytes);
    // Writes the samples as a WAVE file. Empty, or the message to show; a file that could not
    // be written whole is removed, so no note claims more than it holds.
    static std::string Write(const std::string& path, std::span<const std::uint8_t> samples);
    // Reads the format and the samples of a PCM (or floating-point) WAVE file; empty, or why not.
    static std::string Read(const std::string& path, AudioFormat& format,
                            std::vector<std::uint8_t>& samples);
};
