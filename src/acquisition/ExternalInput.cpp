#include "acquisition/ExternalInput.h"

#include "framework/Clock.h"
#include "framework/DigitalInput.h"
#include "framework/MessageTarget.h"

#include <algorithm>

namespace {

// The stop event is looked at this often while the poll waits for the clock, so that a clock
// that jumps (or a test's clock) is followed promptly.
constexpr std::uint64_t kStopCheckMs = 50;

} // namespace

CExternalInput::CExternalInput(IDigitalInput& input, IMessageTarget& target, const IClock& clock)
    : m_input(input), m_target(target), m_clock(clock) {}

CExternalInput::~CExternalInput() {
    Stop();
}

void CExternalInput::Start() {
    Stop();
    m_stop.Reset();
    m_thread = std::thread(&CExternalInput::Run, this);
}

void CExternalInput::Stop() {
    if (!m_thread.joinable())
        return;
    m_stop.Set();
    m_thread.join();
}

void CExternalInput::PostAction(std::uint8_t input1, std::uint8_t input2, IMessageTarget& target) {
    if (input1 && !input2)
        target.Post(PostedMessage::kExternalStart);
    else if (input1 && input2)
        target.Post(PostedMessage::kCommand, PostedCommand::kPause);
    else if (input2)
        target.Post(PostedMessage::kCommand, PostedCommand::kStopAcq);
}

void CExternalInput::Run() {
    if (!m_input.Load())
        return;
    if (!m_input.Open()) {
        m_input.Unload();
        return;
    }
    std::uint8_t last1 = 0;
    std::uint8_t last2 = 0;
    std::uint64_t nextPoll = m_clock.GetTickCount();
    for (;;) {
        const std::uint64_t now = m_clock.GetTickCount();
        if (now >= nextPoll) {
            std::uint8_t input1 = 0;
            std::uint8_t input2 = 0;
            // A failed read is tried again at the next poll.
            if (m_input.Read(input1, input2) && (input1 != last1 || input2 != last2)) {
                PostAction(input1, input2, m_target);
                last1 = input1;
                last2 = input2;
            }
            nextPoll = now + kPollMs;
            continue;
        }
        const std::uint64_t wait = std::min(nextPoll - now, kStopCheckMs);
        if (m_stop.Wait(static_cast<int>(wait)))
            break;
    }
    m_input.Close();
    m_input.Unload();
}
