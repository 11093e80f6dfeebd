// Fuzz target of the condition reader: the whole condition text, and single channel and
// calculation-channel lines. Beyond not crashing, what the program wrote must read back as the
// same: a text read and written once (which rounds to the written precision) is a fixed point of
// reading and writing.
#include "FuzzLines.h"
#include "conditions/RecCnd.h"
#include "framework/SilentPrompt.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void ExerciseCondition(CRecCnd& cnd) {
    CSilentPrompt prompt;
    cnd.CheckCondition(0, prompt);
    cnd.CheckBalanceResidual(10);
    TextLines card;
    cnd.BuildCardCondition(card);
    cnd.PrepareCalcChannels();
    double values[80] = {};
    std::int16_t counts[4] = {};
    const int enabled = cnd.CountEnabled(false);
    if (enabled < 76) {
        for (int i = 0; i < enabled; ++i)
            values[i] =
                cnd.m_channels.empty() ? 0.0 : cnd.m_channels[0].CountToPhys(i * 1000.0 - 30000.0);
        cnd.EvaluateCalcChannels(values, enabled, 80, counts);
    }
    for (const CChCnd& ch : cnd.m_channels) {
        std::vector<std::string> ranges;
        cnd.GetSlotOf(ch).GetRangesForChannel(ch.m_channel, ranges);
        (void)ch.GetUnitPerCount();
        (void)ch.AmpToPhys(1.0);
    }
}

// Writes and reads `cnd` once, which rounds every value to its written precision.
CRecCnd Normalised(const CRecCnd& cnd) {
    TextLines lines;
    cnd.FormatLines(lines);
    CRecCnd read;
    if (!read.ParseLines(lines))
        __builtin_trap();
    return read;
}

void CheckFixedPoint(const CRecCnd& cnd) {
    const CRecCnd written = Normalised(cnd);
    TextLines first;
    written.FormatLines(first);
    TextLines second;
    Normalised(written).FormatLines(second);
    if (second != first)
        __builtin_trap();
}

void CheckFixedPoint(const CChCnd& ch) {
    CChCnd written;
    if (!written.ParseLine(ch.FormatLine()))
        __builtin_trap();
    CChCnd again;
    if (!again.ParseLine(written.FormatLine()) || again.FormatLine() != written.FormatLine())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TextLines lines = ToLines(text);

    CRecCnd cnd;
    if (cnd.ParseLines(lines)) {
        ExerciseCondition(cnd);
        CheckFixedPoint(cnd);
    }
    for (const std::string& line : lines) {
        CChCnd ch;
        if (ch.ParseLine(line))
            CheckFixedPoint(ch);
        CCalcChCnd calc;
        calc.ParseLine(line);
        (void)calc.FormatLine();
    }
    return 0;
}
