// The CAN setting dialogs' rules on files alone and against simulated K and G modules: pages
// kept in the settings, the list and its counts, Check All with marked signals, the sends with
// their questions and messages.
#include "setup/CanSetup.h"
#include "CanSetupRows.h"
#include "device/Device.h"
#include "device/sim/SimLink.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using Strings = std::vector<std::string>;
using Kind = CCanSetup::Kind;

constexpr int kSlotK = 3;
constexpr int kSlotG = 5;
constexpr std::size_t kSignalName = 11;

const char* const kConfig = R"(
RECORDER ZT-300 127.0.0.2
SLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10 CF=OFF
SLOT 3 PN=QA-80CAN-K TY=10 NCH=56
CANSIG 3 256,,8,1,1,16,1,0.100,0.000,Old,rpm,0
SLOT 5 PN=QA-80CAN-G TY=10 NCH=56 ACK=ON,250
CANSIG 5 768,-1,8,0,1,16,1,0.5,1.5,OldG,km/h,0
SLOT 6 PN=QA-80CAN-G TY=11 NCH=56 ACK=OFF,125
)";

class CanSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_link = CSimLink::FromConfigText(kConfig, error, &m_clock);
        ASSERT_TRUE(m_link) << error;
        m_device = std::make_unique<CDevice>(*m_link, m_prompt, m_clock);
        m_device->SetDeviceName("ZT-300");
        ASSERT_TRUE(m_device->Open("127.0.0.2"));
        ASSERT_TRUE(m_device->ReadModules());
        m_prompt.Clear();
    }

    std::unique_ptr<CCanSetup> Open(Kind kind, bool withRecorder = true) {
        auto setup =
            CCanSetup::Create(kind, withRecorder ? m_device.get() : nullptr, m_prompt, m_store);
        setup->Open();
        return setup;
    }
    void Store(Kind kind, const std::string& key, const std::string& value) {
        m_store.WriteString(kind == Kind::K ? "CCANSetDlg_Section" : "CCANSetDlg_G_Section", key,
                            value);
    }
    std::string Stored(const std::string& key) const {
        return m_store.GetString("CCANSetDlg_Section", key, "?");
    }
    CSimCanModule& Module(int slot) {
        return *m_link->FindRecorder("127.0.0.2")->GetCanModule(slot);
    }

    CManualClock m_clock;
    CFakePrompt m_prompt;
    CMemorySettingsStore m_store;
    std::unique_ptr<CSimLink> m_link;
    std::unique_ptr<CDevice> m_device;
};

Strings Column(const CCanSetup& setup, std::size_t column) {
    Strings cells;
    for (int row = 0; row < setup.GetRowCount(); ++row)
        cells.push_back(setup.GetRow(row).cells[column]);
    return cells;
}

} // namespace

TEST_F(CanSetupTest, FilesAloneWithPagesFromTheSettings) {
    Store(Kind::K, "DBC_File", Fixture("basic.dbc"));
    Store(Kind::K, "DBC_Sel", "1,0,1");
    Store(Kind::K, "DBC_File1", Fixture("missing.dbc"));
    Store(Kind::K, "DBC_File2", Fixture("long_signals.dbc"));
    auto setup = Open(Kind::K, false);
    EXPECT_EQ(m_prompt.MessageTexts().size(), 1u); // the missing file's error text
    EXPECT_EQ(m_prompt.Messages()[0].icon, PromptIcon::Stop);
    EXPECT_FALSE(setup->HasModule());
    EXPECT_FALSE(setup->CanSendDb());
    EXPECT_FALSE(setup->CanSendXcp());
    EXPECT_EQ(setup->GetTitle(), std::string("QA-80CAN-K Setting"));
    EXPECT_EQ(setup->GetTabTexts(), (Strings{"basic.dbc", "long_signals.dbc", " ( Empty ) "}));
    EXPECT_EQ(setup->GetCaption(), "CRO: 1792  DTO: 1793");
    EXPECT_EQ(setup->GetLeftOutText(), "");
    EXPECT_EQ(setup->GetShownSignals(), 7);
    EXPECT_EQ(setup->GetShownWords(), 8);
    EXPECT_EQ(setup->GetSelectedSignals(), 2);
    EXPECT_EQ(setup->GetSelectedWords(), 2);
    EXPECT_TRUE(setup->GetRow(0).checkable);
    EXPECT_TRUE(setup->GetRow(0).checked);
    EXPECT_EQ(setup->GetRow(4).cells,
              (std::array<std::string, 14>{"Ch5", "512", "", "8", "1", "1", "32", "1", "0.100",
                                           "0.000", "Body", "Odometer", "km", "INT32"}));

    setup->ShowTab(1);
    EXPECT_EQ(setup->GetLeftOutText(), "5 signals of 24, 48, 64 bits left out");
    EXPECT_EQ(setup->GetCaption(), "CRO:   DTO: ");
    setup->ShowTab(2);
    EXPECT_EQ(setup->GetRowCount(), 0);
    EXPECT_FALSE(setup->CanDeletePage());
    m_prompt.Clear();
    EXPECT_FALSE(setup->LoadDbc(Fixture("missing.dbc")));
    EXPECT_EQ(setup->GetPageCount(), 2);
    ASSERT_TRUE(setup->LoadDbc(Fixture("exactness.dbc")));
    ASSERT_TRUE(setup->LoadDbc(Fixture("canfd.dbc"))); // replaces the page on screen
    EXPECT_EQ(setup->GetPageCount(), 3);
    setup->ShowTab(3);
    ASSERT_TRUE(setup->LoadDbc(Fixture("comments.dbc")));
    setup->ShowTab(4);
    ASSERT_TRUE(setup->LoadDbc(Fixture("multiplexed.dbc")));
    EXPECT_EQ(setup->GetTabTexts(), (Strings{"basic.dbc", "long_signals.dbc", "canfd.dbc",
                                             "comments.dbc", "multiplexed.dbc"}));

    m_prompt.QueueAnswer(PromptAnswer::No);
    setup->DeletePage();
    EXPECT_EQ(setup->GetPageCount(), 5);
    setup->DeletePage();
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Delete this page ?");
    EXPECT_EQ(setup->GetTabTexts().back(), " ( Empty ) ");
    EXPECT_EQ(setup->GetTab(), 4);
    EXPECT_EQ(setup->GetRowCount(), 0);

    setup->Close();
    EXPECT_EQ(Stored("DBC_File"), Fixture("basic.dbc"));
    EXPECT_EQ(Stored("DBC_Sel"), "1,0,1,0,0,0,0");
    EXPECT_EQ(Stored("DBC_File1"), Fixture("long_signals.dbc"));
    EXPECT_EQ(Stored("DBC_Sel1"), "0,0,0");
    EXPECT_EQ(Stored("DBC_File3"), Fixture("comments.dbc"));
    EXPECT_EQ(Stored("DBC_File4"), "");
    EXPECT_EQ(Stored("DBC_Sel4"), "");
    EXPECT_EQ(Stored("XCP_File"), "");
    EXPECT_EQ(Stored("DCD_File"), "");
}

TEST_F(CanSetupTest, CheckAllSkipsSignalsTheModuleCannotTakeExactly) {
    Store(Kind::K, "DBC_File", Fixture("exactness.dbc"));
    auto setup = Open(Kind::K, false);
    EXPECT_TRUE(setup->CanCheckAll());
    EXPECT_FALSE(setup->CanUncheckAll());
    setup->CheckAll(true);
    Strings checked;
    for (int row = 0; row < setup->GetRowCount(); ++row)
        checked.push_back(setup->GetRow(row).checked ? "x" : setup->GetRow(row).mark);
    EXPECT_EQ(checked,
              (Strings{"Factor 0.000127465 is sent as 0.000", "Offset 0.0005 is sent as 0.001", "x",
                       "x", "x", "Start bit 12 is not on a byte boundary: sent as start byte 2",
                       "x", "Start bit 12 is not on a byte boundary: sent as start byte 1",
                       "Start bit 3 is not on a byte boundary: sent as start byte 0",
                       "Factor 1e-07 is sent as 0.000"}));
    EXPECT_FALSE(setup->CanCheckAll()); // only marked signals are left
    EXPECT_TRUE(setup->CanUncheckAll());
    setup->SetChecked(0, true); // one by one they can be chosen
    EXPECT_TRUE(setup->GetRow(0).checked);

    // Saving asks first and names them; No writes nothing.
    CTempFolder folder("can_setup_exact");
    m_prompt.QueueAnswer(PromptAnswer::No);
    setup->SaveDcd(folder.File("a.dcd"));
    EXPECT_EQ(m_prompt.MessageTexts(),
              (Strings{"Factor or offset of 1 signal cannot be sent exactly: FineFactor\n"
                       "Save anyway?"}));
    EXPECT_FALSE(std::ifstream(folder.File("a.dcd")).good());

    setup->CheckAll(false);
    EXPECT_FALSE(setup->CanUncheckAll());
    EXPECT_EQ(setup->GetSelectedSignals(), 0);

    // Module G marks nothing and Check All takes every signal.
    Store(Kind::G, "DBC_File", Fixture("exactness.dbc"));
    auto setupG = Open(Kind::G, false);
    setupG->CheckAll(true);
    EXPECT_EQ(setupG->GetSelectedSignals(), 10);
    EXPECT_EQ(setupG->GetRow(0).mark, "");
    EXPECT_EQ(setupG->GetRow(0).cells[8], "0.000127465");
    EXPECT_FALSE(setupG->CanCheckAll());
}

TEST_F(CanSetupTest, SortingSearchingAndTheWordMarker) {
    Store(Kind::G, "DBC_File", Fixture("long_signals.dbc"));
    auto setup = Open(Kind::G, false);
    EXPECT_EQ(setup->GetTitle(), std::string("QA-80CAN-G Setting"));
    setup->SortBy(kSignalName);
    EXPECT_EQ(Column(*setup, kSignalName),
              (Strings{"Counter24", "Low", "Pressure", "Raw", "Signed24"}));
    setup->SortBy(kSignalName);
    EXPECT_EQ(Column(*setup, kSignalName),
              (Strings{"Signed24", "Raw", "Pressure", "Low", "Counter24"}));
    setup->SortBy(4); // start bits as numbers
    EXPECT_EQ(Column(*setup, 4), (Strings{"0", "0", "0", "24", "32"}));
    EXPECT_EQ(Column(*setup, kSignalName)[0], "Counter24"); // equal keys keep their order
    setup->SortBy(0);
    setup->SortBy(0);
    EXPECT_EQ(Column(*setup, 0), (Strings{"Ch9", "Ch7", "Ch5", "Ch3", "Ch1"}));

    // Checking a row of the sorted list checks that signal.
    setup->SetChecked(0, true);
    EXPECT_EQ(setup->GetSelectedWords(), 1);
    EXPECT_EQ(setup->FindRow("PRESS", 0, true), 2);
    EXPECT_EQ(setup->FindRow("floats", 3, true), 1); // message name; the search wraps round
    EXPECT_EQ(setup->FindRow("24", 1, false), 4);
    EXPECT_EQ(setup->FindRow("nothing", 0, true), -1);

    EXPECT_EQ(CCanSetup::FormatSelectedWords(56), "56");
    EXPECT_EQ(CCanSetup::FormatSelectedWords(57), " * 57 ");
}

TEST_F(CanSetupTest, SendDbAsksForInexactSignalsThenReadsTheModuleBack) {
    Store(Kind::K, "DBC_File", Fixture("exactness.dbc"));
    Store(Kind::K, "DBC_Sel", "1,0,1,0,1,1");
    Store(Kind::K, "DBC_File1", Fixture("basic.dbc"));
    Store(Kind::K, "DBC_Sel1", "0,1,0,0,1");
    auto setup = Open(Kind::K);
    ASSERT_EQ(setup->GetSlots(), (std::vector<int>{kSlotK}));
    EXPECT_EQ(setup->GetShown(), CCanSetup::Shown::Module);
    EXPECT_EQ(setup->GetCaption(), "DB Data at SlotNo_3");
    EXPECT_EQ(Column(*setup, kSignalName), (Strings{"Old"}));
    EXPECT_FALSE(setup->GetRow(0).checkable);
    EXPECT_EQ(setup->GetSelectedSignals(), 6);
    EXPECT_EQ(setup->GetSelectedWords(), 7);

    m_prompt.QueueAnswer(PromptAnswer::No);
    setup->SendDb();
    EXPECT_EQ(m_prompt.MessageTexts(),
              (Strings{"Factor or offset of 1 signal cannot be sent exactly: FineFactor\n"
                       "Start bit of 1 signal cannot be sent exactly: IntelOff\n"
                       "Send anyway?"}));
    EXPECT_EQ(Module(kSlotK).GetSignalCount(), 1); // nothing sent

    setup->ShowTab(0);
    const Strings first = ModuleFields(*setup, true);
    setup->ShowTab(1);
    Strings sent = ModuleFields(*setup, true);
    sent.insert(sent.begin(), first.begin(), first.end());
    m_prompt.Clear();
    setup->SendDb(); // Yes
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Writing CAN DB OK!");
    EXPECT_EQ(m_prompt.Messages().back().icon, PromptIcon::Information);
    EXPECT_EQ(setup->GetShown(), CCanSetup::Shown::Module);
    EXPECT_EQ(ModuleFields(*setup, false), sent);
    EXPECT_EQ(Column(*setup, 0), (Strings{"Ch1", "Ch2", "Ch3", "Ch4", "Ch5", "Ch6"}));
    EXPECT_EQ(Column(*setup, 8)[0], "0.000"); // what the module got
    // The device's own copy of the database follows, for the channels of the next condition.
    EXPECT_EQ(m_device->FindCanKDatabase(kSlotK)->m_items.size(), 6u);

    // A module that refuses a signal ends the send with the messages; the dialog goes on.
    m_link->FindRecorder("127.0.0.2")->AddNakCommand("3DBW 2,");
    m_prompt.Clear();
    setup->SendDb();
    EXPECT_EQ(
        m_prompt.MessageTexts(),
        (Strings{m_prompt.MessageTexts()[0], "3DBW 2,1300,,8,5,0,16,1,0.125,0.000,Eighth,V,1:NAK!",
                 "Writing CAN DB failed!"}));
    EXPECT_EQ(setup->GetRowCount(), 1);
    m_link->FindRecorder("127.0.0.2")->ClearFaults();

    m_prompt.QueueAnswer(PromptAnswer::No);
    setup->ClearDb();
    EXPECT_EQ(Module(kSlotK).GetSignalCount(), 1);
    setup->ClearDb();
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Clear CAN DB ?");
    EXPECT_EQ(Module(kSlotK).GetSignalCount(), 0);
    EXPECT_EQ(setup->GetRowCount(), 0);
    m_link->FindRecorder("127.0.0.2")->AddNakCommand("3DBW 0");
    setup->ClearDb();
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Clear CAN DB failed!");
}

TEST_F(CanSetupTest, DcdSavedLoadedAndSentWhole) {
    CTempFolder folder("can_setup_dcd");
    const std::string path = folder.File("Chosen.dcd");
    Store(Kind::K, "DBC_File", Fixture("basic.dbc"));
    Store(Kind::K, "DBC_Sel", "1,1,0,0,1");
    Store(Kind::K, "DCD_File", folder.File("chosen.DCD")); // not there yet
    auto setup = Open(Kind::K);
    EXPECT_EQ(m_prompt.MessageTexts().size(), 1u);
    EXPECT_EQ(setup->GetDcdPath(), "");
    setup->SaveDcd(path);
    EXPECT_EQ(m_prompt.MessageTexts().back(), "DCD File saved !");
    ASSERT_TRUE(setup->LoadDcd(path));
    EXPECT_EQ(setup->GetShown(), CCanSetup::Shown::Dcd);
    EXPECT_EQ(setup->GetCaption(), "CRO: 1792  DTO: 1793");
    const Strings chosen = ModuleFields(*setup, false);
    EXPECT_EQ(chosen.size(), 3u);
    EXPECT_FALSE(setup->GetRow(0).checkable);
    EXPECT_EQ(setup->GetSelectedWords(), 4);

    // Saving over the loaded file (whatever the case of its name) offers to read it again.
    setup->ShowTab(0);
    setup->CheckAll(false);
    setup->SetChecked(6, true);
    m_prompt.Clear();
    setup->SaveDcd(folder.File("CHOSEN.dcd"));
    EXPECT_EQ(m_prompt.MessageTexts(),
              (Strings{"DCD File saved !", "The DCD File has been updated. Read again ?"}));
    EXPECT_EQ(setup->GetShown(), CCanSetup::Shown::Dcd);
    EXPECT_EQ(Column(*setup, kSignalName), (Strings{"Level"}));

    ASSERT_TRUE(setup->LoadDcd(path));
    setup->SendDb();
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Writing CAN DB OK!");
    EXPECT_EQ(ModuleFields(*setup, false), chosen);

    // A file of the other kind loads nothing and says so.
    CTempFolder other("can_setup_dcd_g");
    Store(Kind::G, "DBC_File", Fixture("basic.dbc"));
    Store(Kind::G, "DBC_Sel", "1");
    auto setupG = Open(Kind::G);
    setupG->SaveDcd(other.File("g.dcd"));
    EXPECT_FALSE(setup->LoadDcd(other.File("g.dcd")));
    EXPECT_EQ(m_prompt.MessageTexts().back(),
              other.File("g.dcd") + "\nThis is not a CAN_K DCD File.");
    EXPECT_EQ(setup->GetDcdPath(), path);
    setup->Close();
    EXPECT_EQ(Stored("DCD_File"), path);
}

TEST_F(CanSetupTest, XcpProcedureSwitchAndQuit) {
    CTempFolder folder("can_setup_xcp");
    const std::string path = folder.File("procedure.txt");
    std::ofstream(path) << "1 CONNECT x 0\n\n2 SET y 2 AA BB CC\n   \n";
    auto setup = Open(Kind::K);
    EXPECT_FALSE(setup->IsXcpOn());
    EXPECT_FALSE(setup->CanSendXcp());
    m_prompt.QueueAnswer(PromptAnswer::Cancel);
    EXPECT_FALSE(setup->Quit());
    EXPECT_EQ(m_prompt.MessageTexts().back(), "XCP has not been sent.  Quit OK?");

    setup->SetXcpPath(folder.File("none.txt"));
    setup->SendXcp();
    EXPECT_NE(m_prompt.MessageTexts().back().find("Cannot find this file."), std::string::npos);
    setup->SetXcpPath(path);
    setup->SendXcp();
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Writing XCP OK!");
    EXPECT_EQ(Module(kSlotK).GetXcpLines(), (Strings{"CONNECT 0", "SET 2,AA,BB"}));
    m_prompt.Clear();
    EXPECT_TRUE(setup->Quit());
    EXPECT_TRUE(m_prompt.MessageTexts().empty());

    setup->SetXcpSwitch(true);
    EXPECT_TRUE(setup->IsXcpOn());
    EXPECT_TRUE(Module(kSlotK).IsXcpOn());
    m_link->FindRecorder("127.0.0.2")->AddNakCommand("3XSW");
    setup->SetXcpSwitch(false);
    EXPECT_TRUE(setup->IsXcpOn());
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"3XSW OFF:NAK!", "Set XCP SW failed!"}));
    m_link->FindRecorder("127.0.0.2")->AddNakCommand("3XCP SET");
    setup->SendXcp();
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Writing CAN XCP failed!");

    setup->Close();
    EXPECT_EQ(Stored("XCP_File"), path);
    // Read again the switch is on.
    m_link->FindRecorder("127.0.0.2")->ClearFaults();
    EXPECT_TRUE(Open(Kind::K)->IsXcpOn());
}

TEST_F(CanSetupTest, ModuleGSendsItsAcknowledgeSettingToEveryGModuleOnQuit) {
    auto setup = Open(Kind::G);
    ASSERT_EQ(setup->GetSlots(), (std::vector<int>{kSlotG, 6}));
    EXPECT_TRUE(setup->IsAckOn()); // the first module's
    EXPECT_EQ(Column(*setup, kSignalName), (Strings{"OldG"}));
    setup->SelectSlot(1);
    EXPECT_FALSE(setup->IsAckOn());
    EXPECT_EQ(setup->GetCaption(), "DB Data at SlotNo_6");
    setup->SetAckOn(true);
    EXPECT_TRUE(setup->Quit()); // no XCP question for G
    EXPECT_EQ(Module(kSlotG).Execute("ACK"), "ON,250");
    EXPECT_EQ(Module(6).Execute("ACK"), "ON,125");
    EXPECT_TRUE(m_prompt.MessageTexts().empty());

    m_link->FindRecorder("127.0.0.2")->AddNakCommand("5ACK");
    setup->SetAckOn(false);
    EXPECT_TRUE(setup->Quit());
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"5ACK OFF,250:NAK!", "Sending ACKON failed!"}));
    EXPECT_EQ(Module(6).Execute("ACK"), "ON,125"); // the loop ended at the first failure
}
