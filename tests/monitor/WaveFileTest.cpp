#include "monitor/WaveFile.h"
#include "monitor/AudioConverter.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void Put(std::vector<std::uint8_t>& out, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// The bytes of an array of samples, as a device delivers them.
template <typename T, std::size_t N> std::vector<std::uint8_t> Bytes(const T (&values)[N]) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(values);
    return {bytes, bytes + sizeof values};
}

} // namespace

TEST(WaveFileTest, HeaderAndFileBytes) {
    // 3 samples: RIFF size 4 + 26 + 8 + 3 + 1 pad = 42.
    const std::vector<std::uint8_t> expected{
        'R', 'I', 'F', 'F', 42, 0, 0,   0,   'W',  'A',  'V', 'E', 'f',  'm',  't', ' ',
        18,  0,   0,   0,   1,  0, 1,   0,   0x11, 0x2B, 0,   0,   0x11, 0x2B, 0,   0,
        1,   0,   8,   0,   0,  0, 'd', 'a', 't',  'a',  3,   0,   0,    0};
    EXPECT_EQ(CWaveFile::Header(3), expected);
    EXPECT_EQ(CWaveFile::Header(4)[4], 42) << "an even length needs no pad";

    CTempFolder folder("wave");
    const std::string path = folder.File("note.wav");
    ASSERT_EQ(CWaveFile::Write(path, std::vector<std::uint8_t>{1, 2, 3}), "");
    std::vector<std::uint8_t> file = expected;
    file.insert(file.end(), {1, 2, 3, 0});
    EXPECT_EQ(ReadBytes(path), file);

    AudioFormat format;
    std::vector<std::uint8_t> samples;
    ASSERT_EQ(CWaveFile::Read(path, format, samples), "");
    EXPECT_EQ(format, AudioFormat{});
    EXPECT_EQ(samples, (std::vector<std::uint8_t>{1, 2, 3})) << "the pad is not a sample";
}

TEST(WaveFileTest, WriteFailuresSayWhatWasWritten) {
    CTempFolder folder("wave-fail");
    EXPECT_EQ(CWaveFile::Write(folder.File("none/note.wav"), std::vector<std::uint8_t>(10)),
              "Failed to open file.");
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    // Within the stream buffer the data seems written until the flush fails.
    EXPECT_EQ(CWaveFile::Write("/dev/full", std::vector<std::uint8_t>(1000)),
              "mmioWrite failed (lBytes=-1,nPlaybackBufferLen=1000)");
    const std::string big = CWaveFile::Write("/dev/full", std::vector<std::uint8_t>(2205000));
    EXPECT_TRUE(big.starts_with("mmioWrite failed (lBytes=")) << big;
    EXPECT_TRUE(big.ends_with(",nPlaybackBufferLen=2205000)")) << big;
    EXPECT_TRUE(std::filesystem::exists("/dev/full")) << "only cut regular files are removed";
}

TEST(WaveFileTest, ReadsOtherPcmFormatsAndRefusesTheRest) {
    CTempFolder folder("wave-read");
    // 16-bit stereo at 22050 Hz with an odd-sized extra chunk before the data.
    std::vector<std::uint8_t> bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    const std::uint8_t format[] = {'f',  'm',  't', ' ', 16,   0,    0, 0, 1, 0, 2,  0,
                                   0x22, 0x56, 0,   0,   0x88, 0x58, 1, 0, 4, 0, 16, 0};
    Put(bytes, format, sizeof format);
    const std::uint8_t extra[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    Put(bytes, extra, sizeof extra);
    const std::int16_t frames[] = {256, -256, 512, 512, 7};
    Put(bytes, "data", 4);
    const std::uint32_t size = sizeof frames;
    Put(bytes, &size, 4);
    Put(bytes, frames, sizeof frames);
    WriteBytes(folder.File("s16.wav"), bytes);

    AudioFormat read;
    std::vector<std::uint8_t> samples;
    ASSERT_EQ(CWaveFile::Read(folder.File("s16.wav"), read, samples), "");
    EXPECT_EQ(read, (AudioFormat{SampleFormat::Int16, 2, 22050}));
    EXPECT_EQ(samples.size(), 8u) << "two whole frames; the cut one is dropped";

    WriteBytes(folder.File("text.wav"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(CWaveFile::Read(folder.File("text.wav"), read, samples), "Not a WAVE file.");
    bytes[20] = 2; // ADPCM
    WriteBytes(folder.File("adpcm.wav"), bytes);
    EXPECT_EQ(CWaveFile::Read(folder.File("adpcm.wav"), read, samples), "Unsupported WAVE format.");
    EXPECT_EQ(CWaveFile::Read(folder.File("missing.wav"), read, samples), "Failed to open file.");
}

TEST(AudioConverterTest, ChannelsAveragedRatesChanged) {
    const struct {
        AudioFormat from;
        std::vector<std::uint8_t> input;
        std::vector<std::uint8_t> output;
    } cases[] = {
        // 16-bit stereo at 22050 Hz: channels and frame pairs averaged.
        {{SampleFormat::Int16, 2, 22050},
         [] {
             const std::int16_t values[] = {2560, 2560, 7680, 7680, -2560, -7680, -2560, -7680};
             return Bytes(values);
         }(),
         {128 + 20, 128 - 20}},
        // Float mono at 11025 Hz: scaled, clipped at full scale.
        {{SampleFormat::Float, 1, 11025},
         [] {
             const float values[] = {0.5f, -1.0f, 2.0f};
             return Bytes(values);
         }(),
         {192, 0, 255}},
        // 8-bit at 5512 Hz: every sample held for two.
        {{SampleFormat::UInt8, 1, 5512}, {10, 200}, {10, 10, 200, 200}},
        // 32-bit at 11025 Hz.
        {{SampleFormat::Int32, 1, 11025},
         [] {
             const std::int32_t values[] = {16777216 * 10, -16777216 * 10};
             return Bytes(values);
         }(),
         {138, 118}},
    };
    for (const auto& c : cases) {
        CAudioConverter converter(c.from);
        std::vector<std::uint8_t> out;
        // Delivered in two parts cut inside a frame: nothing is lost or doubled.
        const std::size_t cut = c.input.size() / 2 + 1;
        converter.Convert({c.input.data(), cut}, out);
        converter.Convert({c.input.data() + cut, c.input.size() - cut}, out);
        EXPECT_EQ(out, c.output) << static_cast<int>(c.from.sample);
    }
}
