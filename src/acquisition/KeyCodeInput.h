// Two-digit codes typed in a monitor window: Enter sends them as a start, stop or pause command,
// or as a mark whose memo is the code. Keys arrive as the program's key numbers: '0'..'9',
// the numeric pad's kNumPad0.., kEnter; the window layer translates its own keys to them.
#pragma once

#include <array>

class CRecorderSettings;
class IMessageTarget;

class CKeyCodeInput {
public:
    static constexpr int kEnter = 13;
    static constexpr int kNumPad0 = 96;
    static constexpr int kNumLock = 144;

    // True when the key was taken; false lets the window handle it as usual.
    bool OnKeyDown(int key, const CRecorderSettings& settings, IMessageTarget& target);
    int GetDigitCount() const { return m_count; }

private:
    void AddDigit(char digit);
    void SendCode(const CRecorderSettings& settings, IMessageTarget& target);

    std::array<char, 2> m_digits{};
    int m_count = 0;
};
