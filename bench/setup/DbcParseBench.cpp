// Reading a DBC file of 5 MB into a page, as MB/s of file text: the messages and signals of a
// large vehicle database with comments, attributes, value tables and value-type lines between
// them, as the tools of the field write it.
#include "conditions/TextFile.h"
#include "setup/DBCFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr std::size_t kFileBytes = 5 * 1000 * 1000;

std::string GenerateDbc() {
    std::string text = "VERSION \"\"\n\nNS_ :\n\tCM_\n\tBA_DEF_\n\nBS_:\n\nBU_: ECU Logger\n\n";
    for (int message = 0; text.size() < kFileBytes; ++message) {
        text += "BO_ " + std::to_string(256 + message) + " Message" + std::to_string(message) +
                ": 8 ECU\n";
        for (int signal = 0; signal < 4; ++signal) {
            const bool wide = signal == 3;
            text += " SG_ Signal" + std::to_string(message) + "_" + std::to_string(signal) + " : " +
                    std::to_string(signal * 16) + (wide ? "|32@1- " : "|16@1+ ") +
                    "(0.125,-40) [-40|8151.875] \"km/h\" Logger\n";
        }
        text += "CM_ BO_ " + std::to_string(256 + message) + " \"Message " +
                std::to_string(message) + " of the vehicle bus.\";\n";
        text += "BA_ \"GenMsgCycleTime\" BO_ " + std::to_string(256 + message) + " 100;\n";
        text += "VAL_ " + std::to_string(256 + message) + " Signal" + std::to_string(message) +
                "_0 0 \"Off\" 1 \"On\" 2 \"Error\" ;\n";
        text += "SIG_VALTYPE_ " + std::to_string(256 + message) + " Signal" +
                std::to_string(message) + "_3 : 1;\n\n";
    }
    return text;
}

const std::string& Dbc() {
    static const std::string text = GenerateDbc();
    return text;
}

template <class Page> void ParseDbc(benchmark::State& state) {
    const std::string& text = Dbc();
    Page page;
    CDbcLeftOut leftOut;
    for (auto _ : state) {
        CDBCFile::Parse(text, page, leftOut);
        benchmark::DoNotOptimize(page.m_items.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["signals"] = static_cast<double>(page.m_items.size());
}

// The whole load: reading the file from the disk cache and parsing it.
void LoadDbcFile(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "zt300_bench.dbc").string();
    if (!CTextFile::WriteTextLines(path, {Dbc()}, false, false).empty()) {
        state.SkipWithError("cannot write the DBC file");
        return;
    }
    CDBCData page;
    CDbcLeftOut leftOut;
    for (auto _ : state)
        benchmark::DoNotOptimize(CDBCFile::Load(path, page, leftOut));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Dbc().size()));
    std::remove(path.c_str());
}

BENCHMARK(ParseDbc<CDBCData>)->Name("ParseDbc/K")->Unit(benchmark::kMillisecond);
BENCHMARK(ParseDbc<CDBCData_G>)->Name("ParseDbc/G")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadDbcFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
