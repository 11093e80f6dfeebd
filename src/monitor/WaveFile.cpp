#include "monitor/WaveFile.h"

#include "conditions/TextNumbers.h"
#include "framework/AudioInput.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

void PutLittle(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t GetLittle(const std::uint8_t* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

std::string WriteFailure(long written, std::size_t expected) {
    return FormatText("mmioWrite failed (lBytes=%li,nPlaybackBufferLen=%lu)", written,
                      static_cast<unsigned long>(expected));
}

// A cut note is of no use and must not look complete; devices and the like are left alone.
void RemoveCutFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error))
        std::filesystem::remove(path, error);
}

bool ReadWhole(const std::string& path, std::vector<std::uint8_t>& bytes) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    std::uint8_t buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    return std::ferror(file.get()) == 0;
}

// The "fmt " chunk: PCM (1), IEEE float (3) or the extensible form (0xFFFE) naming either.
bool ParseFormat(const std::uint8_t* chunk, std::uint32_t size, AudioFormat& format) {
    if (size < 16)
        return false;
    std::uint32_t tag = GetLittle(chunk, 2);
    const int channels = static_cast<int>(GetLittle(chunk + 2, 2));
    const std::uint32_t rate = GetLittle(chunk + 4, 4);
    const std::uint32_t bits = GetLittle(chunk + 14, 2);
    if (tag == 0xFFFE && size >= 26)
        tag = GetLittle(chunk + 24, 2);
    if (channels < 1 || channels > 32 || rate < 1000 || rate > 384000)
        return false;
    format.channels = channels;
    format.rate = static_cast<int>(rate);
    if (tag == 1 && bits == 8)
        format.sample = SampleFormat::UInt8;
    else if (tag == 1 && bits == 16)
        format.sample = SampleFormat::Int16;
    else if (tag == 1 && bits == 32)
        format.sample = SampleFormat::Int32;
    else if (tag == 3 && bits == 32)
        format.sample = SampleFormat::Float;
    else
        return false;
    return true;
}

} // namespace

int AudioFormat::BytesPerSample() const {
    switch (sample) {
    case SampleFormat::UInt8:
        return 1;
    case SampleFormat::Int16:
        return 2;
    case SampleFormat::Int32:
    case SampleFormat::Float:
        return 4;
    }
    return 1;
}

std::vector<std::uint8_t> CWaveFile::Header(std::size_t dataBytes) {
    const std::uint32_t data = static_cast<std::uint32_t>(dataBytes);
    const std::uint32_t padded = data + (data & 1u);
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes);
    PutTag(out, "RIFF");
    PutLittle(out, static_cast<std::uint32_t>(kHeaderBytes - 8) + padded, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLittle(out, 18, 4);
    PutLittle(out, 1, 2); // PCM
    PutLittle(out, 1, 2); // mono
    PutLittle(out, IAudioInput::kSampleRate, 4);
    PutLittle(out, IAudioInput::kSampleRate, 4); // bytes per second
    PutLittle(out, 1, 2);                        // block alignment
    PutLittle(out, 8, 2);                        // bits per sample
    PutLittle(out, 0, 2);                        // no extra format bytes
    PutTag(out, "data");
    PutLittle(out, data, 4);
    return out;
}

std::string CWaveFile::Write(const std::string& path, std::span<const std::uint8_t> samples) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return kOpenFailed;
    std::setvbuf(file.get(), nullptr, _IOFBF, kIoBufferBytes);
    const std::vector<std::uint8_t> header = Header(samples.size());
    long failedAt = -1;
    bool written = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size();
    if (written) {
        const std::size_t n = std::fwrite(samples.data(), 1, samples.size(), file.get());
        if (n != samples.size()) {
            failedAt = static_cast<long>(n);
            written = false;
        }
    }
    static constexpr std::uint8_t kPad = 0;
    if (written && (samples.size() & 1u) != 0)
        written = std::fwrite(&kPad, 1, 1, file.get()) == 1;
    written = written && std::fflush(file.get()) == 0;
    written = std::fclose(file.release()) == 0 && written;
    if (written)
        return {};
    RemoveCutFile(path);
    return WriteFailure(failedAt, samples.size());
}

std::string CWaveFile::Read(const std::string& path, AudioFormat& format,
                            std::vector<std::uint8_t>& samples) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWhole(path, bytes))
        return kOpenFailed;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return "Not a WAVE file.";
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = GetLittle(bytes.data() + at + 4, 4);
        const std::size_t body = at + 8;
        const std::size_t available = std::min<std::size_t>(size, bytes.size() - body);
        if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0) {
            haveFormat =
                ParseFormat(bytes.data() + body, static_cast<std::uint32_t>(available), format);
            if (!haveFormat)
                return "Unsupported WAVE format.";
        } else if (std::memcmp(bytes.data() + at, "data", 4) == 0 && haveFormat) {
            // A cut data chunk gives what is there, in whole frames.
            const std::size_t frame = static_cast<std::size_t>(format.BytesPerFrame());
            samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(body),
                           bytes.begin() +
                               static_cast<std::ptrdiff_t>(body + available / frame * frame));
            return {};
        }
        at = body + static_cast<std::size_t>(size) + (size & 1u);
    }
    return "Not a WAVE file.";
}
