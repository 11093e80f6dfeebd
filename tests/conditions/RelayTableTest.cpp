#include "conditions/RelayTable.h"
#include "ConditionFixture.h"
#include "conditions/WatchDog.h"
#include "framework/RelayOutput.h"
#include "support/FakePrompt.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

namespace {

// The fixture's channels numbered as the channel table numbers them.
CRecCnd NumberedCondition() {
    CRecCnd cnd = MakeFullCondition();
    int next = 1;
    for (CChCnd& ch : cnd.m_channels)
        ch.m_monitorNo = static_cast<std::int16_t>(next++);
    for (CCalcChCnd& calc : cnd.m_calcChannels)
        calc.m_monitorNo = static_cast<std::int16_t>(next++);
    return cnd;
}

class CFakeRelayOutput : public IRelayOutput {
public:
    bool Open(const std::string& device) override {
        m_device = device;
        return m_present;
    }
    bool SetPort(int port, int level) override {
        m_levels[static_cast<std::size_t>(port)] = level;
        return true;
    }
    void Close() override { ++m_closed; }

    bool m_present = true;
    std::string m_device;
    std::array<int, 8> m_levels{-1, -1, -1, -1, -1, -1, -1, -1};
    int m_closed = 0;
};

} // namespace

TEST(RelayTableTest, PortLevelsInTheProgramsSettingsBlock) {
    RelayPortBlock block{};
    SetPortLevels(block, {0, 1, 0, 0, 0, 0, 0, -2});
    EXPECT_EQ(block[4], 1);
    EXPECT_EQ(block[28], 0xFE);
    EXPECT_EQ(block[31], 0xFF);
    EXPECT_EQ(GetPortLevels(block), (std::vector<int>{0, 1, 0, 0, 0, 0, 0, -2}));
    EXPECT_EQ(PortLevelMask(GetPortLevels(block)), 0x82);
}

TEST(RelayTableTest, RowsFromTheChannelListAndTheirTexts) {
    const CRecCnd cnd = NumberedCondition();
    CRelayTable table(cnd, {0, 0, 1});
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.RowTexts(0),
              (std::vector<std::string>{"1", "Ch1", "Force", "1.500", "X <= Data < Y", "7.250", "O",
                                        "P7(A)", "3", "10"}));
    EXPECT_EQ(table.PortChoices()[2], "P3(B)");
    EXPECT_EQ(table.LogicChoices().size(), 8u);

    // The enabled channels, then the calculation channels in use.
    const auto& candidates = table.Candidates();
    ASSERT_FALSE(candidates.empty());
    EXPECT_EQ(candidates.front().name, "Force");
    EXPECT_EQ(candidates.back().name, "9-4");
    const int row = table.AddRow(candidates.size() - 1);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(table.RowTexts(row),
              (std::vector<std::string>{"3", "Ch20", "9-4", "0.000", "Data = 0", "0.000", "",
                                        "P1(A)", "0", "0"}));
    EXPECT_EQ(table.AddRow(candidates.size()), -1);
    EXPECT_TRUE(table.DeleteRow(0));
    EXPECT_FALSE(table.DeleteRow(2));
    EXPECT_EQ(table.RowTexts(0)[CRelayTable::kSignalName], "1-2");
}

TEST(RelayTableTest, CellEdits) {
    const CRecCnd cnd = NumberedCondition();
    CRelayTable table(cnd, {});
    const struct {
        int column;
        const char* text;
        bool taken;
        const char* shown;
    } edits[] = {
        {CRelayTable::kX, "2.5", true, "2.500"},
        {CRelayTable::kX, "abc", false, "2.500"},
        {CRelayTable::kY, "-1e1", true, "-10.000"},
        {CRelayTable::kLogic, "Data >= X ", true, "Data >= X "},
        {CRelayTable::kLogic, "Data > X", false, "Data >= X "},
        {CRelayTable::kPort, "P8(A)", true, "P8(A)"},
        {CRelayTable::kPort, "P9(A)", false, "P8(A)"},
        {CRelayTable::kAnd, "0", true, ""},
        {CRelayTable::kAnd, "yes", false, ""},
        {CRelayTable::kTrgTimes, "12", true, "12"},
        {CRelayTable::kTrgTimes, "-1", false, "12"},
        {CRelayTable::kCntLmt, " 30 ", true, "30"},
        {CRelayTable::kCntLmt, "3.5", false, "30"},
        {CRelayTable::kCh, "Ch9", false, "Ch1"},
        {CRelayTable::kSignalName, "Other", false, "Force"},
    };
    for (const auto& edit : edits) {
        EXPECT_EQ(table.EditCell(0, edit.column, edit.text), edit.taken) << edit.text;
        EXPECT_EQ(table.RowTexts(0)[static_cast<std::size_t>(edit.column)], edit.shown)
            << edit.text;
    }
    EXPECT_FALSE(table.EditCell(5, CRelayTable::kX, "1"));

    CRecCnd target = cnd;
    table.ApplyTo(target);
    EXPECT_EQ(target.m_monitorChannels[0].FormatValues(), "1,Force,3,2.500,-10.000,0,7,12,30");
}

TEST(RelayTableTest, WatchDogValuesAndTheirRanges) {
    const CRecCnd cnd = NumberedCondition();
    CRelayTable table(cnd, {});
    const struct {
        const char* safe;
        const char* trg;
        bool stopOn;
        const char* stop;
        const char* monitor;
        const char* message;
    } cases[] = {
        {"6000", "0", true, "601", "3600", "Please enter an integer between 0 and 600."},
        {"6000", "0", true, "10", "59", "Please enter an integer between 60 and 3600."},
        {"6000", "0", true, "10", "3601", "Please enter an integer between 60 and 3600."},
        {"60a", "0", true, "10", "60", "Please enter an integer."},
        {"6000", "-1", true, "10", "60", "Please enter an integer between 0 and 2147483647."},
        {"6000", "", true, "10", "60", "Please enter an integer."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(table.SetDogValues(c.safe, c.trg, c.stopOn, c.stop, false, c.monitor), c.message);
    EXPECT_EQ(table.Settings().dog, cnd.m_dogTimer) << "refused values change nothing";

    EXPECT_EQ(table.SetDogValues("7000", "250", true, "600", true, "60"), "");
    EXPECT_EQ(table.Settings().dog, (WatchDogSettings{7000, 250, 600, 1, 60}));
    EXPECT_EQ(table.SetDogValues("7000", "250", false, "not read", false, "3600"), "");
    EXPECT_EQ(table.Settings().dog.recStopTime, WatchDogSettings::kRecStopOff);
}

TEST(RelayTableTest, ExportAndImportThroughTheDialogCopy) {
    const CRecCnd cnd = NumberedCondition();
    CRelayTable table(cnd, {});
    table.AddRow(table.Candidates().size() - 1); // a calculation channel
    ASSERT_EQ(table.SetDogValues("100", "20", true, "30", true, "900"), "");
    CTempFolder folder("relay-table");
    CFakePrompt prompt;
    ASSERT_TRUE(table.Export(folder.File("r.n66"), prompt));
    TextLines lines;
    ASSERT_EQ(CTextFile::ReadTextLines(folder.File("r.n66"), lines), "");
    EXPECT_EQ(lines.back(), "MONITORCH 20,9-4,0,0.000,0.000,0,0,0,0");

    CRelayTable other(cnd, {});
    ASSERT_TRUE(other.Import(lines, prompt));
    EXPECT_EQ(other.Settings().dog, table.Settings().dog);
    ASSERT_EQ(other.RowCount(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(other.RowTexts(row), table.RowTexts(row));

    // A condition without calculation has no such channel.
    CRecCnd noCalc = cnd;
    noCalc.m_calc = 0;
    CRelayTable refused(noCalc, {});
    prompt.Clear();
    EXPECT_FALSE(refused.Import(lines, prompt));
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Imcompatible File !\nLine 5: " + lines.back()});
    EXPECT_EQ(refused.RowCount(), 2);
}

TEST(RelayTableTest, WatchDogOpensTheOutputModuleWithTheInitialLevels) {
    CFakePrompt prompt;
    CWatchDog absent;
    EXPECT_FALSE(absent.Start({0, 1}, prompt));
    EXPECT_FALSE(absent.IsRunning());
    EXPECT_EQ(absent.GetOutput().GetDevice(), "NI6525") << "the parameters are kept";
    EXPECT_EQ(absent.GetOutput().GetInitialLevels(), 0x02);
    ASSERT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Relay output module (NI6525) open failed!"});
    EXPECT_EQ(prompt.m_messages[0].icon, PromptIcon::Stop);

    CFakeRelayOutput driver;
    CWatchDog dog(&driver);
    ASSERT_TRUE(dog.Start({1, 0, 0, 1}, prompt));
    EXPECT_TRUE(dog.IsRunning());
    EXPECT_EQ(driver.m_device, "NI6525");
    EXPECT_EQ(driver.m_levels, (std::array<int, 8>{1, 0, 0, 1, 0, 0, 0, 0}));
    driver.m_levels.fill(-1);
    dog.Stop();
    EXPECT_FALSE(dog.IsRunning());
    EXPECT_EQ(driver.m_levels, (std::array<int, 8>{1, 0, 0, 1, 0, 0, 0, 0}))
        << "the ports go back to their initial levels";
    EXPECT_EQ(driver.m_closed, 1);
    dog.Stop();
    EXPECT_EQ(driver.m_closed, 1);
}
