#include "acquisition/KeyCodeInput.h"

#include "acquisition/RecorderSettings.h"
#include "support/MessageQueue.h"

#include <gtest/gtest.h>

namespace {

using Message = CMessageQueue::Message;

void Type(CKeyCodeInput& input, const std::string& keys, const CRecorderSettings& settings,
          IMessageTarget& target) {
    for (const char key : keys)
        EXPECT_TRUE(input.OnKeyDown(key == '\n' ? CKeyCodeInput::kEnter : key, settings, target));
}

} // namespace

TEST(KeyCodeInputTest, ControlCodesPostCommands) {
    CRecorderSettings settings;
    settings.m_ctrlInput = 1;
    CKeyCodeInput input;
    CMessageQueue queue;
    Type(input, "70\n", settings, queue);
    Type(input, "80\n71\n", settings, queue);
    // Three digits keep the last two; a code of no command is no mark without RealTimeMark.
    Type(input, "123\n", settings, queue);
    EXPECT_EQ(queue.Drain(),
              (std::vector<Message>{{0x0111, 32778, 0}, {0x0111, 32787, 0}, {0x0111, 32780, 0}}));
}

TEST(KeyCodeInputTest, MarksFromCodesAndTheNumericPad) {
    CRecorderSettings settings;
    settings.m_realTimeMark = 1;
    settings.m_ctrlInput = 1;
    CKeyCodeInput input;
    CMessageQueue queue;
    Type(input, "123\n", settings, queue);
    // Numeric pad 0 and 5, then the stop code: a stop and no mark.
    EXPECT_TRUE(input.OnKeyDown(CKeyCodeInput::kNumPad0, settings, queue));
    EXPECT_TRUE(input.OnKeyDown(CKeyCodeInput::kNumPad0 + 5, settings, queue));
    Type(input, "\n71\n", settings, queue);
    EXPECT_EQ(queue.Drain(),
              (std::vector<Message>{{1034, 23, 0}, {1034, 5, 0}, {0x0111, 32780, 0}}));

    // Enter with one digit is taken and does nothing; the digit stays.
    Type(input, "4\n", settings, queue);
    EXPECT_EQ(input.GetDigitCount(), 1);
    EXPECT_TRUE(input.OnKeyDown(CKeyCodeInput::kNumLock, settings, queue));
    EXPECT_TRUE(input.OnKeyDown(200, settings, queue));
    EXPECT_FALSE(input.OnKeyDown('A', settings, queue));
    Type(input, "2\n", settings, queue);
    EXPECT_EQ(queue.Drain(), (std::vector<Message>{{1034, 42, 0}}));
}

TEST(KeyCodeInputTest, KeysPassWhenBothInputsAreOff) {
    CRecorderSettings settings;
    CKeyCodeInput input;
    CMessageQueue queue;
    EXPECT_FALSE(input.OnKeyDown('7', settings, queue));
    EXPECT_FALSE(input.OnKeyDown(CKeyCodeInput::kEnter, settings, queue));
    EXPECT_EQ(input.GetDigitCount(), 0);
    EXPECT_TRUE(queue.Drain().empty());
}
