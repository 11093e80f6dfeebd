// The external-signal thread: polls the two contacts of the USB input module every 500 ms and
// turns each change of the pair into a start, pause or stop of the PC record, posted to the
// monitor window. It touches nothing else; the record changes on the UI thread.
#pragma once

#include "framework/Event.h"

#include <cstdint>
#include <thread>

class IClock;
class IDigitalInput;
class IMessageTarget;

class CExternalInput {
public:
    static constexpr int kPollMs = 500;

    CExternalInput(IDigitalInput& input, IMessageTarget& target, const IClock& clock);
    ~CExternalInput();
    CExternalInput(const CExternalInput&) = delete;
    CExternalInput& operator=(const CExternalInput&) = delete;

    // At ARM. A module that cannot be loaded or opened ends the thread without a word.
    void Start();
    // At stop ARMED: the thread closes the module and ends; returns once it has.
    void Stop();

    // What a new pair of inputs asks for: posts it, or nothing for both off.
    static void PostAction(std::uint8_t input1, std::uint8_t input2, IMessageTarget& target);

private:
    void Run();

    IDigitalInput& m_input;
    IMessageTarget& m_target;
    const IClock& m_clock;
    CEvent m_stop;
    std::thread m_thread;
};
