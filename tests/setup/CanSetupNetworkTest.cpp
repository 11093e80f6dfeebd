// The CAN setting dialogs end to end against zt300sim over the network: DBC pages chosen and
// sent to a K and a G module and read back equal, a DCD file saved, loaded into a fresh dialog
// and sent, and an XCP procedure acknowledged line by line.
#include "CanSetupRows.h"
#include "device/Device.h"
#include "device/net/NetLink.h"
#include "setup/CanSetup.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordTestConditions.h"
#include "support/SimProcess.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using Strings = std::vector<std::string>;
using Kind = CCanSetup::Kind;

class CanSetupNetworkTest : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        ASSERT_NE(m_port, 0);
        ASSERT_EQ(m_sim.FirstLine(10000), "ready");
        m_device.SetDeviceName("ZT-300");
        ASSERT_TRUE(m_device.Open("127.0.0.2"));
        ASSERT_TRUE(m_device.ReadModules());
        m_prompt.Clear();
    }
    std::unique_ptr<CCanSetup> Open() {
        auto setup = CCanSetup::Create(GetParam(), &m_device, m_prompt, m_store);
        setup->Open();
        return setup;
    }
    const char* Section() const {
        return GetParam() == Kind::K ? "CCANSetDlg_Section" : "CCANSetDlg_G_Section";
    }

    std::uint16_t m_port = FreePort();
    CSimProcess m_sim{m_port, ZT300_TEST_DATA_DIR "/can/can_modules.conf"};
    CNetLink m_link{m_port};
    CManualClock m_clock;
    CFakePrompt m_prompt;
    CMemorySettingsStore m_store;
    CDevice m_device{m_link, m_prompt, m_clock};
    CTempFolder m_folder{"can_net"};
};

} // namespace

TEST_P(CanSetupNetworkTest, PagesAndDcdSentAndReadBackEqual) {
    auto setup = Open();
    const int slot = GetParam() == Kind::K ? 4 : 6;
    ASSERT_EQ(setup->GetSlots(), (std::vector<int>{slot}));
    EXPECT_EQ(setup->GetCaption(), "DB Data at SlotNo_" + std::to_string(slot));
    EXPECT_EQ(setup->GetRowCount(), 1);

    // Two pages, some signals of each chosen.
    ASSERT_TRUE(setup->LoadDbc(Fixture("basic.dbc")));
    setup->CheckAll(true);
    setup->SetChecked(2, false);
    const Strings first = ModuleFields(*setup, true);
    setup->ShowTab(1);
    ASSERT_TRUE(setup->LoadDbc(Fixture("multiplexed.dbc")));
    setup->SetChecked(1, true);
    setup->SetChecked(4, true);
    Strings sent = ModuleFields(*setup, true);
    sent.insert(sent.begin(), first.begin(), first.end());
    ASSERT_EQ(sent.size(), 8u);

    setup->SendDb();
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"Writing CAN DB OK!"}));
    EXPECT_EQ(setup->GetShown(), CCanSetup::Shown::Module);
    EXPECT_EQ(ModuleFields(*setup, false), sent);

    // The chosen set kept as a DCD file, sent again from a fresh dialog after a clear.
    const std::string dcd = m_folder.File("chosen.dcd");
    setup->SaveDcd(dcd);
    setup->ClearDb();
    EXPECT_EQ(setup->GetRowCount(), 0);
    setup->Close();
    EXPECT_EQ(m_store.GetString(Section(), "DBC_File1", ""), Fixture("multiplexed.dbc"));

    m_prompt.Clear();
    auto fresh = Open();
    EXPECT_EQ(fresh->GetPageCount(), 2);
    EXPECT_EQ(fresh->GetSelectedSignals(), 8);
    ASSERT_TRUE(fresh->LoadDcd(dcd));
    EXPECT_EQ(ModuleFields(*fresh, false), sent);
    fresh->SendDb();
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Writing CAN DB OK!");
    EXPECT_EQ(ModuleFields(*fresh, false), sent);
    EXPECT_EQ(fresh->GetRow(7).cells[0], "Ch9"); // Odometer took two words
}

TEST_P(CanSetupNetworkTest, XcpProcedureAcknowledgedLineByLine) {
    const std::string path = m_folder.File("procedure.txt");
    std::ofstream(path) << "1 CONNECT 0 1 FF\n2 SHORT_UPLOAD 0 3 04 00 10 00\n3 DISCONNECT 0 0\n";
    auto setup = Open();
    setup->SetXcpPath(path);
    setup->SendXcp();
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"Writing XCP OK!"}));
    EXPECT_TRUE(setup->WasXcpSent());
    EXPECT_EQ(m_prompt.m_progressTexts.back(), "Writing XCP to ZT-300 ... ");
    EXPECT_EQ(m_prompt.m_pos, 3);
    EXPECT_TRUE(setup->Quit());

    // A line the procedure cannot hold fails the send at that line.
    std::ofstream(path) << "1 CONNECT 0 1 FF\n2 BAD\n";
    setup->SendXcp();
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Writing CAN XCP failed!");
    EXPECT_EQ(m_prompt.m_pos, 1);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, CanSetupNetworkTest, ::testing::Values(Kind::K, Kind::G),
                         [](const auto& info) { return info.param == Kind::K ? "K" : "G"; });
