// The values of the calculation channel dialog, which arguments a function takes, and the
// checks and storing on OK.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class CCalcChCnd;
class IPrompt;

class CChannelTableCalcSetting {
public:
    static constexpr std::uint32_t kSmaWindowMin = 2;
    static constexpr std::uint32_t kSmaWindowMax = 1000;

    std::string m_name;
    std::string m_unit;
    std::int32_t m_function = -1; // none
    std::array<std::uint32_t, 4> m_args{};
    double m_max = 0.0;
    double m_min = 0.0;

    // The dialog's values of a calculation channel.
    static CChannelTableCalcSetting FromChannel(const CCalcChCnd& calc);
    // Argument fields 0..3: the first with any function, the second with every function but
    // REV, the third with RMS, MUL and TLD; the fourth never.
    static bool ArgumentEnabled(std::int32_t function, int argument);

    // False with the message shown when OK may not close the dialog.
    bool Check(IPrompt& prompt) const;
    // The channel takes the values; its range and scales follow MAX and MIN.
    void Store(CCalcChCnd& calc) const;
};
