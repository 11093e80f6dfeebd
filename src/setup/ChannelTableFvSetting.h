// The frequency module dialog: which modes a channel may take next to its partner channel,
// and storing the set-up with the partner's mode kept in step.
#pragma once

#include <cstdint>
#include <vector>

class CChCnd;
class CRecCnd;

class CChannelTableFvSetting {
public:
    static constexpr int kModeFr = 0;
    static constexpr int kModePw = 1;
    static constexpr int kModePl = 2;
    static constexpr int kDividerMin = 1;
    static constexpr int kDividerMax = 255;
    static constexpr int kSmoothingMin = 1;
    static constexpr int kSmoothingMax = 100;

    std::int32_t m_input = 0;
    std::int32_t m_mode = 0;
    int m_divider = 1;
    int m_smoothing = 1;
    std::vector<int> m_modeChoices; // mode indexes the "fme" list offers, in list order

    // The dialog's values for a channel of a frequency module, with its mode list: channels 2
    // and 4 (0-based) pair with the next channel; when that one counts pulses ("PL") they must
    // measure pulse width ("PW"), otherwise they may not count pulses themselves.
    static CChannelTableFvSetting ForChannel(const CRecCnd& condition, const CChCnd& channel);

    // Stores the values into the channel; a channel 3 or 5 that starts counting pulses puts its
    // partner on pulse width. Gives the channels that changed (empty when nothing did).
    std::vector<CChCnd*> Store(CRecCnd& condition, CChCnd& channel) const;
};
