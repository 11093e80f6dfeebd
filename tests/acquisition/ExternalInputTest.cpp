#include "acquisition/ExternalInput.h"
#include "acquisition/ExternalInputSim.h"

#include "support/ManualClock.h"
#include "support/MessageQueue.h"

#include <gtest/gtest.h>

namespace {

using Message = CMessageQueue::Message;
constexpr int kWaitMs = 10000;

const Message kStart{1035, 0, 0};
const Message kPause{0x0111, 32787, 0};
const Message kStop{0x0111, 32780, 0};

// Switches the inputs, lets 500 ms pass on the clock and waits for the thread to read them.
void Poll(CExternalInputSim& module, CManualClock& clock, bool input1, bool input2) {
    module.SetInputs(input1, input2);
    const int reads = module.GetReads();
    clock.Advance(CExternalInput::kPollMs);
    ASSERT_TRUE(module.WaitForReads(reads + 1, kWaitMs));
}

} // namespace

TEST(ExternalInputTest, EachChangeOfThePairActsOnce) {
    CExternalInputSim module;
    CMessageQueue queue;
    CManualClock clock;
    CExternalInput input(module, queue, clock);
    input.Start();
    ASSERT_TRUE(module.WaitForReads(1, kWaitMs));
    EXPECT_TRUE(module.m_open);

    Poll(module, clock, true, false);
    Poll(module, clock, true, false);
    Poll(module, clock, true, true);
    Poll(module, clock, false, true);
    // A read that fails changes nothing; the next good one still sees the change.
    module.m_readFails = true;
    Poll(module, clock, false, false);
    module.m_readFails = false;
    Poll(module, clock, false, false);
    Poll(module, clock, false, true);
    // No poll before 500 ms have passed.
    module.SetInputs(true, false);
    const int reads = module.GetReads();
    clock.Advance(CExternalInput::kPollMs - 1);
    EXPECT_FALSE(module.WaitForReads(reads + 1, 200));

    input.Stop();
    EXPECT_FALSE(module.m_open);
    EXPECT_FALSE(module.m_loaded);
    EXPECT_EQ(queue.Drain(), (std::vector<Message>{kStart, kPause, kStop, kStop}));
}

TEST(ExternalInputTest, MissingLibraryOrModuleEndsTheThreadSilently) {
    CMessageQueue queue;
    CManualClock clock;
    for (const bool libraryPresent : {false, true}) {
        CExternalInputSim module;
        module.m_libraryPresent = libraryPresent;
        module.m_moduleAnswers = false;
        module.SetInputs(true, false);
        CExternalInput input(module, queue, clock);
        input.Start();
        clock.Advance(CExternalInput::kPollMs);
        EXPECT_FALSE(module.WaitForReads(1, 200));
        input.Stop();
        EXPECT_FALSE(module.m_loaded);
    }
    EXPECT_TRUE(queue.Drain().empty());
}

TEST(ExternalInputTest, ActionsOfTheInputPairs) {
    CMessageQueue queue;
    CExternalInput::PostAction(0, 0, queue);
    CExternalInput::PostAction(7, 0, queue);
    CExternalInput::PostAction(1, 255, queue);
    CExternalInput::PostAction(0, 2, queue);
    EXPECT_EQ(queue.Drain(), (std::vector<Message>{kStart, kPause, kStop}));
}
