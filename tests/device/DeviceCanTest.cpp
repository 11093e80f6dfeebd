// The CAN module commands of CDevice against simulated K and G modules.
#include "DeviceFixture.h"

using namespace LinkOrdinal;
using Strings = std::vector<std::string>;

namespace {

constexpr int kSlotK = 7;
constexpr int kSlotG = 8;

CDBCItem Signal(const std::string& name, int valueType, bool selected = true) {
    CDBCItem item;
    item.m_msgId = "256";
    item.m_msgLength = 8;
    item.m_start = 1;
    item.m_bitLength = valueType >= 2 ? 32 : 16;
    item.m_byteOrder = 1;
    item.m_factor = 0.5;
    item.m_name = name;
    item.m_unit = "V";
    item.m_valueType = valueType;
    item.m_selected = selected ? 1 : 0;
    return item;
}

CDBCData Page(const std::string& cro, int signals, const std::string& prefix) {
    CDBCData page;
    page.m_croId = cro;
    page.m_dtoId = "D" + cro;
    for (int i = 0; i < signals; ++i)
        page.m_items.push_back(Signal(prefix + std::to_string(i), 0));
    return page;
}

long Count(const Strings& commands, const std::string& prefix) {
    return std::count_if(commands.begin(), commands.end(),
                         [&](const std::string& c) { return c.starts_with(prefix); });
}

} // namespace

TEST_F(DeviceFixture, ReadDatabaseRetriesOnce) {
    Connect();
    int shortReplies = 1;
    m_tap->m_hook = [&](const std::string& text, std::string& reply) -> std::optional<int> {
        if (text != "7DBR 2" || shortReplies-- <= 0)
            return std::nullopt;
        reply = "2,512";
        return 1;
    };
    CDBCData database;
    ASSERT_TRUE(m_device->ReadCanDatabase(kSlotK, database));
    EXPECT_EQ(database.m_slot, kSlotK);
    ASSERT_EQ(database.m_items.size(), 2u);
    EXPECT_EQ(database.m_items[1].m_name, "Distance");
    EXPECT_EQ(Count(m_tap->m_commands, "7DBR 2"), 2);

    shortReplies = 2;
    EXPECT_FALSE(m_device->ReadCanDatabase(kSlotK, database));
    EXPECT_TRUE(database.m_items.empty());
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"7DBR 2 Read DBC Error: 2,512"}));
    EXPECT_EQ(m_prompt.Messages().back().icon, PromptIcon::Stop);
    EXPECT_FALSE(m_prompt.m_progressOpen);

    // A lost answer is asked again; two lost answers fail without a message.
    int lost = 1;
    m_prompt.Clear();
    m_tap->m_hook = [&](const std::string& text, std::string&) -> std::optional<int> {
        if (text == "7DBR 1" && lost-- > 0)
            return -2;
        return std::nullopt;
    };
    EXPECT_TRUE(m_device->ReadCanDatabase(kSlotK, database));
    lost = 2;
    EXPECT_FALSE(m_device->ReadCanDatabase(kSlotK, database));
    EXPECT_TRUE(m_prompt.Messages().empty());
}

TEST_F(DeviceFixture, DeviceKeepsTheLastDatabaseReadFromEachModule) {
    Connect();
    ASSERT_EQ(m_device->FindCanKDatabase(kSlotK)->m_items.size(), 2u);
    ASSERT_TRUE(m_device->WriteCanDatabase(kSlotK, std::vector<CDBCData>{Page("1", 3, "N")}));
    CDBCData database;
    ASSERT_TRUE(m_device->ReadCanDatabase(kSlotK, database));
    ASSERT_EQ(m_device->GetCanKDatabases().size(), 1u);
    EXPECT_EQ(m_device->FindCanKDatabase(kSlotK)->m_items.size(), 3u);
    EXPECT_EQ(m_device->FindCanKDatabase(kSlotK)->m_items[2].m_name, "N2");

    // A failed read leaves the module's database unknown; the other kind's list is untouched.
    Recorder().SetOperationError(kQueryCommand, -3);
    EXPECT_FALSE(m_device->ReadCanDatabase(kSlotK, database));
    EXPECT_EQ(m_device->FindCanKDatabase(kSlotK), nullptr);
    EXPECT_NE(m_device->FindCanGDatabase(kSlotG), nullptr);
}

TEST_F(DeviceFixture, ClearDatabaseAndEmptyRead) {
    Connect();
    ASSERT_TRUE(m_device->ClearCanDatabase(kSlotK));
    m_tap->ClearRecord();
    CDBCData database;
    ASSERT_TRUE(m_device->ReadCanDatabase(kSlotK, database));
    EXPECT_TRUE(database.m_items.empty());
    EXPECT_EQ(m_tap->m_commands, (Strings{"7CRD 0"}));

    Recorder().AddNakCommand("7DBW");
    EXPECT_FALSE(m_device->ClearCanDatabase(kSlotK));
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"7DBW 0:NAK!"}));
    Recorder().ClearFaults();
    Recorder().SetOperationError(kSetCommand, -3);
    m_prompt.Clear();
    EXPECT_FALSE(m_device->ClearCanDatabase(kSlotK));
    EXPECT_TRUE(m_prompt.Messages().empty());
}

TEST_F(DeviceFixture, WriteDatabaseStopsAtModuleWords) {
    Connect();
    std::vector<CDBCData> pages{Page("100", 30, "A"), Page("200", 30, "B")};
    pages[0].m_items[5].m_selected = 0; // not sent; A6 takes its number
    pages[0].m_items.push_back(Signal("A30", 0));
    ASSERT_TRUE(m_device->WriteCanDatabase(kSlotK, pages));
    const Strings& sent = m_tap->m_commands;
    EXPECT_EQ(sent.front(), "7DBW 0");
    EXPECT_EQ(sent[1], "7CR0 100");
    EXPECT_EQ(sent[2], "7DT0 D100");
    EXPECT_EQ(sent[3], "7DBW 1,256,,8,1,1,16,1,0.500,0.000,A0,V,0");
    EXPECT_EQ(sent[8], "7DBW 6,256,,8,1,1,16,1,0.500,0.000,A6,V,0");
    EXPECT_EQ(sent[33], "7CR1 200");
    EXPECT_EQ(Count(sent, "7DBW "), 1 + 56);
    EXPECT_EQ(sent.back(), "7XCR");
    EXPECT_EQ(Recorder().GetCanModule(kSlotK)->GetSignalCount(), 56);
    EXPECT_EQ(m_prompt.m_progressTexts.back(), "Writing CAN_K DB to ZT-300 ... ");
    EXPECT_EQ(m_prompt.m_pos, 100 * 56 / 60);

    // A two-word signal that would overrun the module's 56 words is not sent.
    std::vector<CDBCData> wide{Page("100", 55, "A")};
    wide[0].m_items.push_back(Signal("Wide", 2));
    m_tap->ClearRecord();
    ASSERT_TRUE(m_device->WriteCanDatabase(kSlotK, wide));
    EXPECT_EQ(Count(m_tap->m_commands, "7DBW "), 1 + 55);
    EXPECT_EQ(m_tap->m_commands.back(), "7XCR");
}

TEST_F(DeviceFixture, WriteDatabaseFailures) {
    Connect();
    const std::vector<CDBCData> pages{Page("100", 2, "A")};
    m_tap->m_hook = [](const std::string& text, std::string&) -> std::optional<int> {
        return text == "7DT0 D100" ? std::optional<int>(-2) : std::nullopt;
    };
    EXPECT_FALSE(m_device->WriteCanDatabase(kSlotK, pages));
    m_tap->m_hook = [](const std::string& text, std::string&) -> std::optional<int> {
        return text == "7XCR" ? std::optional<int>(-2) : std::nullopt;
    };
    EXPECT_FALSE(m_device->WriteCanDatabase(kSlotK, pages));
    m_tap->m_hook = nullptr;
    Recorder().AddNakCommand("7DBW 2");
    EXPECT_FALSE(m_device->WriteCanDatabase(kSlotK, pages));
    EXPECT_EQ(m_prompt.MessageTexts(),
              (Strings{"LnkSetCommand:(7DT0 D100) failed!", "LnkSetCommand:(7XCR) failed!",
                       "7DBW 2,256,,8,1,1,16,1,0.500,0.000,A1,V,0:NAK!"}));
    EXPECT_FALSE(m_prompt.m_progressOpen);
}

TEST_F(DeviceFixture, WriteDcdSetsOfBothKinds) {
    Connect();
    CDcdSet<CDBCItem> set;
    set.m_croIds = {"100", "300"};
    set.m_dtoIds = {"101", "301"};
    set.m_items = {Signal("A", 0), Signal("B", 3)};
    ASSERT_TRUE(m_device->WriteCanDcd(kSlotK, set));
    EXPECT_EQ(m_tap->m_commands, (Strings{"7DBW 0", "7CR0 100", "7DT0 101", "7CR1 300", "7DT1 301",
                                          "7DBW 1,256,,8,1,1,16,1,0.500,0.000,A,V,0",
                                          "7DBW 2,256,,8,1,1,32,1,0.500,0.000,B,V,3", "7XCR"}));
    EXPECT_EQ(m_prompt.m_progressTexts.back(), "Writing CAN_K DCD to ZT300 ...");

    CDcdSet<CDBCItem_G> setG;
    setG.m_croIds = {"7"};
    CDBCItem_G item;
    item.m_msgId = "768";
    item.m_factor = "0.0001";
    item.m_name = "Fine";
    setG.m_items = {item};
    m_tap->ClearRecord();
    ASSERT_TRUE(m_device->WriteCanDcd(kSlotG, setG));
    EXPECT_EQ(m_tap->m_commands[2], "8DT0 ");
    EXPECT_EQ(m_tap->m_commands[3], "8DBW 1,768,-1,0,0,1,0,0,0.0001,0.0,Fine,,0");
    EXPECT_EQ(m_prompt.m_progressTexts.back(), "Writing CAN_G DCD to ZT300 ...");

    std::vector<CDBCData_G> pagesG(1);
    pagesG[0].m_items = {item};
    pagesG[0].m_items[0].m_selected = 1;
    ASSERT_TRUE(m_device->WriteCanDatabase(kSlotG, pagesG));
    CDBCData_G back;
    ASSERT_TRUE(m_device->ReadCanDatabase(kSlotG, back));
    ASSERT_EQ(back.m_items.size(), 1u);
    EXPECT_EQ(back.m_items[0].m_factor, "0.0001");
    EXPECT_EQ(m_prompt.m_progressTexts.back(), "Reading CAN_G DB from ZT-300 ... ");
}

TEST_F(DeviceFixture, XcpProcedureSwitchAndSend) {
    Connect();
    const TextLines procedure{"1 CONNECT x 0", "2 SET y 2 AA BB CC"};
    ASSERT_TRUE(m_device->WriteXcpProcedure(kSlotK, procedure));
    EXPECT_EQ(m_tap->m_commands, (Strings{"7XCR", "7XCP CONNECT 0", "7XCP SET 2,AA,BB"}));
    EXPECT_EQ(m_prompt.m_progressTexts.back(), "Writing XCP to ZT-300 ... ");
    EXPECT_FALSE(m_device->WriteXcpProcedure(kSlotK, {"1 CONNECT x"}));

    bool on = true;
    ASSERT_TRUE(m_device->GetXcpSwitch(kSlotK, on));
    EXPECT_FALSE(on);
    EXPECT_FALSE(m_device->SendXcp(kSlotK)); // refused while the switch is off
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"7XSN:NAK!"}));
    ASSERT_TRUE(m_device->SetXcpSwitch(kSlotK, true));
    ASSERT_TRUE(m_device->GetXcpSwitch(kSlotK, on));
    EXPECT_TRUE(on);
    ASSERT_TRUE(m_device->WriteXcpProcedure(kSlotK, procedure));
    ASSERT_TRUE(m_device->SendXcp(kSlotK));
    int status = 0;
    ASSERT_TRUE(m_device->GetXcpStatus(kSlotK, status));
    EXPECT_EQ(status, 3);

    Recorder().AddNakCommand("7XCP");
    m_prompt.Clear();
    EXPECT_FALSE(m_device->WriteXcpProcedure(kSlotK, procedure));
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"7XCP CONNECT 0:NAK!"}));
    Recorder().SetOperationError(kQueryCommand, -3);
    EXPECT_FALSE(m_device->GetXcpStatus(kSlotK, status));
    EXPECT_FALSE(m_device->GetXcpSwitch(kSlotK, on));
}

TEST_F(DeviceFixture, AcknowledgeSettingOfG) {
    Connect();
    ASSERT_TRUE(m_device->SetAckSetting(kSlotG, false, "125"));
    EXPECT_EQ(m_tap->m_commands, (Strings{"8ACK OFF,125"}));
    bool on = true;
    std::string value;
    ASSERT_TRUE(m_device->GetAckSetting(kSlotG, on, value));
    EXPECT_FALSE(on);
    EXPECT_EQ(value, "125");
    Recorder().AddNakCommand("8ACK");
    EXPECT_FALSE(m_device->SetAckSetting(kSlotG, true, "1"));
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"8ACK ON,1:NAK!"}));
}
