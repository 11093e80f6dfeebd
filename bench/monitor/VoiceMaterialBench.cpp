// Voice notes and the material list: the level of a second of sound, its conversion from a
// device's own format, writing a 200-second note, reading and writing a large material list, and
// the material limits of 512 channels looked up in it.
#include "conditions/ChCnd.h"
#include "monitor/AudioConverter.h"
#include "monitor/DocMaterials.h"
#include "monitor/MyMatData.h"
#include "monitor/SimAudioInput.h"
#include "monitor/VoiceRecorder.h"
#include "monitor/WaveFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

std::vector<std::uint8_t> Sound(std::size_t bytes) {
    std::vector<std::uint8_t> samples(bytes);
    CSimAudioInput::Pattern(3, 4)(0, samples.data(), samples.size());
    return samples;
}

void BM_VoiceLevelOfOneSecond(benchmark::State& state) {
    const std::vector<std::uint8_t> second = Sound(CVoiceRecorder::kBufferBytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(CVoiceRecorder::Level(second));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * second.size()));
}
BENCHMARK(BM_VoiceLevelOfOneSecond);

// One second of a 48 kHz stereo 16-bit device into the notes' format.
void BM_ConvertOneSecondOf48kStereo(benchmark::State& state) {
    std::vector<std::uint8_t> device(48000 * 4);
    for (std::size_t i = 0; i < device.size(); ++i)
        device[i] = static_cast<std::uint8_t>(i * 37);
    std::vector<std::uint8_t> out;
    out.reserve(12000);
    for (auto _ : state) {
        CAudioConverter converter({SampleFormat::Int16, 2, 48000});
        out.clear();
        converter.Convert(device, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * device.size()));
}
BENCHMARK(BM_ConvertOneSecondOf48kStereo);

void BM_WriteTwoHundredSecondNote(benchmark::State& state) {
    const std::vector<std::uint8_t> note = Sound(CVoiceRecorder::kCaptureBytes);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("zt300-bench-note-" + std::to_string(::getpid()) + ".wav"))
                                 .string();
    for (auto _ : state) {
        if (!CWaveFile::Write(path, note).empty())
            state.SkipWithError("write failed");
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * note.size()));
}
BENCHMARK(BM_WriteTwoHundredSecondNote)->Unit(benchmark::kMillisecond);

TextLines MaterialLines(int count) {
    CMaterialData data;
    data.m_title = "bench";
    for (int i = 0; i < count; ++i) {
        CMaterialItem item;
        item.m_material = "Material" + std::to_string(i);
        item.m_id = "ID" + std::to_string(i);
        item.m_unit = "MPa";
        item.m_max = std::to_string(100 + i);
        item.m_min = std::to_string(-100 - i);
        item.m_sn = {200, 1e6, 150, 2e6, 100, 5e6, 50, 1e7};
        data.m_items.push_back(item);
    }
    TextLines lines;
    data.FormatLines(lines);
    return lines;
}

void BM_ReadMaterialList(benchmark::State& state) {
    const TextLines lines = MaterialLines(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CMyMatData data;
        benchmark::DoNotOptimize(data.ParseLines(lines));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadMaterialList)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_WriteMaterialList(benchmark::State& state) {
    CMyMatData data;
    data.ParseLines(MaterialLines(static_cast<int>(state.range(0))));
    TextLines lines;
    for (auto _ : state) {
        data.FormatLines(lines);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteMaterialList)->Arg(10000)->Unit(benchmark::kMillisecond);

// 512 channels referring to materials of a list of `range(0)`, as the digit lists take them on
// every refresh.
void BM_LimitsOf512Channels(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("zt300-bench-materials-" + std::to_string(::getpid()) + ".zai"))
                                 .string();
    CTextFile::WriteTextLines(path, MaterialLines(static_cast<int>(state.range(0))));
    CDocMaterials materials;
    materials.Replace(path);
    std::filesystem::remove(path);
    std::vector<CChCnd> channels(512);
    for (std::size_t n = 0; n < channels.size(); ++n) {
        const int material = static_cast<int>(n) * 7 % static_cast<int>(state.range(0));
        channels[n].m_mat = {"Material" + std::to_string(material), "ID" + std::to_string(material),
                             "1", "0"};
    }
    for (auto _ : state) {
        for (const CChCnd& channel : channels)
            benchmark::DoNotOptimize(materials.GetLimits(channel));
    }
    state.SetItemsProcessed(state.iterations() * 512);
}
BENCHMARK(BM_LimitsOf512Channels)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
