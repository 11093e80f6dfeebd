// "XCP Set" and the XCP status lines against simulated recorders with two K modules and a G
// module that reports the K module's type code.
#include "setup/XcpCommands.h"
#include "device/Device.h"
#include "device/sim/SimLink.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

const char* const kConfig = R"(
RECORDER ZT-300 127.0.0.2
SLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10 CF=OFF
SLOT 2 PN=QA-80CAN-K TY=10 NCH=56
SLOT 4 PN=QA-80CAN-G TY=10 NCH=56 ACK=OFF,0
SLOT 6 PN=QA-80CAN-K TY=10 NCH=56
RECORDER ZT-500 127.0.0.3
SLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10 CF=OFF
SLOT 3 PN=QA-80CAN-G TY=11 NCH=56 ACK=OFF,0
)";

const std::string kSpace = CXcpCommands::kIdeographicSpace;

class XcpCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_link = CSimLink::FromConfigText(kConfig, error, &m_clock);
        ASSERT_TRUE(m_link) << error;
        m_device = Connect("127.0.0.2");
        ASSERT_TRUE(m_device);
        m_prompt.Clear();
    }

    std::unique_ptr<CDevice> Connect(const std::string& address) {
        auto device = std::make_unique<CDevice>(*m_link, m_prompt, m_clock);
        if (!device->Open(address) || !device->ReadModules())
            return nullptr;
        return device;
    }

    // The switch on and a one-line procedure: the module can send XCP.
    void Prepare(int slot) {
        ASSERT_TRUE(m_device->SetXcpSwitch(slot, true));
        ASSERT_TRUE(m_device->WriteXcpProcedure(slot, {"1 CONNECT x 0"}));
    }

    CManualClock m_clock;
    std::unique_ptr<CSimLink> m_link;
    CFakePrompt m_prompt;
    std::unique_ptr<CDevice> m_device;
};

} // namespace

TEST(XcpStatusTextTest, LinesOfEveryStatus) {
    const struct {
        int slot;
        int status;
        std::string line;
    } cases[] = {
        {2, 0, "Slot2 CAN_K  ---  0 Non XCP "},
        {2, 1, "Slot2 CAN_K  ---  1 XCP" + kSpace + "time out "},
        {6, 2, "Slot6 CAN_K  ---  2 XCP" + kSpace + "time out "},
        {8, 3, "Slot8 CAN_K  ---  3 XCP" + kSpace + "Send completely "},
        {1, 4, "Slot1 CAN_K  ---  4 "},
        {1, -1, "Slot1 CAN_K  ---  -1 "},
        {3, CXcpCommands::kFailedStatus, "Slot3 CAN_K  ---  65535 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CXcpCommands::StatusLine(c.slot, c.status), c.line) << c.status;
    EXPECT_EQ(kSpace, "\u3000");
}

TEST_F(XcpCommandsTest, RunsOnAConnectedRecorderWithAKModule) {
    EXPECT_EQ(CXcpCommands::FindCanKSlots(*m_device), (std::vector<int>{2, 6}));
    EXPECT_TRUE(CXcpCommands::CanRun(*m_device));
    const std::unique_ptr<CDevice> onlyG = Connect("127.0.0.3");
    ASSERT_TRUE(onlyG);
    EXPECT_TRUE(CXcpCommands::FindCanKSlots(*onlyG).empty());
    EXPECT_FALSE(CXcpCommands::CanRun(*onlyG));
    m_device->Close(); // the modules are still known, the recorder is not there
    EXPECT_FALSE(CXcpCommands::CanRun(*m_device));
}

TEST_F(XcpCommandsTest, SetXcpStopsAtTheFirstFailureWithoutAFurtherMessage) {
    CXcpCommands xcp(*m_device);
    EXPECT_EQ(xcp.ReadStatusLines(),
              (Strings{"Slot2 CAN_K  ---  0 Non XCP ", "Slot6 CAN_K  ---  0 Non XCP "}));

    // Slot 2 refuses while its switch is off; slot 6 is never asked.
    Prepare(6);
    m_prompt.Clear();
    EXPECT_FALSE(xcp.SetXcp(m_prompt));
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"2XSN:NAK!"}));
    EXPECT_EQ(xcp.ReadStatusLines()[1], "Slot6 CAN_K  ---  1 XCP" + kSpace + "time out ");

    // A lost delivery stops as silently.
    Prepare(2);
    m_link->FindRecorder("127.0.0.2")->SetOperationError(LinkOrdinal::kSetCommand, -3);
    m_prompt.Clear();
    EXPECT_FALSE(xcp.SetXcp(m_prompt));
    EXPECT_TRUE(m_prompt.Messages().empty());

    m_link->FindRecorder("127.0.0.2")->ClearFaults();
    EXPECT_TRUE(xcp.SetXcp(m_prompt));
    ASSERT_EQ(m_prompt.MessageTexts(), (Strings{"XCP Setting OK!"}));
    EXPECT_EQ(m_prompt.Messages().back().icon, PromptIcon::Information);
    EXPECT_EQ(xcp.ReadStatusLines(),
              (Strings{"Slot2 CAN_K  ---  3 XCP" + kSpace + "Send completely ",
                       "Slot6 CAN_K  ---  3 XCP" + kSpace + "Send completely "}));

    // A query that fails shows 65535 and nothing else.
    m_link->FindRecorder("127.0.0.2")->SetOperationError(LinkOrdinal::kQueryCommand, -3);
    m_prompt.Clear();
    EXPECT_EQ(xcp.ReadStatusLines(),
              (Strings{"Slot2 CAN_K  ---  65535 ", "Slot6 CAN_K  ---  65535 "}));
    EXPECT_TRUE(m_prompt.Messages().empty());
}
