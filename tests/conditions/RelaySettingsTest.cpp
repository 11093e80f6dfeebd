#include "conditions/RelaySettings.h"
#include "ConditionFixture.h"
#include "support/FakePrompt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// The fixture's monitor channels name channels whose monitor numbers are set here.
CRecCnd ConditionWithMonitorNumbers() {
    CRecCnd cnd = MakeFullCondition();
    cnd.m_channels[0].m_monitorNo = 1; // "Force"
    cnd.m_channels[1].m_monitorNo = 2; // unnamed: "1-2"
    return cnd;
}

} // namespace

TEST(RelaySettingsTest, ExportThenImportReproducesEverything) {
    const CRecCnd cnd = ConditionWithMonitorNumbers();
    const RelaySettings exported{cnd.m_dogTimer, cnd.m_monitorChannels};
    TextLines lines;
    FormatRelaySettingsLines(exported, lines);
    EXPECT_EQ(lines, (TextLines{"N66.FILE", "DOG_TIMER 5000,200,4294967295,1,120",
                                "MONITORCH 1,Force,4,1.500,7.250,1,6,3,10",
                                "MONITORCH 2,1-2,4,1.500,7.250,0,6,3,10"}));

    const std::string path =
        (std::filesystem::temp_directory_path() / "zt300_relay_test.n66").string();
    CFakePrompt prompt;
    ASSERT_TRUE(ExportRelaySettings(path, exported, prompt));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Export OK !"});
    TextLines read;
    ASSERT_EQ(CTextFile::ReadTextLines(path, read), "");
    std::filesystem::remove(path);

    RelaySettings imported;
    ASSERT_TRUE(ImportRelaySettings(read, cnd, imported, prompt));
    EXPECT_EQ(imported.dog, exported.dog);
    ASSERT_EQ(imported.monitors.size(), 2u);
    EXPECT_EQ(imported.monitors[1].FormatValues(), exported.monitors[1].FormatValues());
    EXPECT_EQ(imported.monitors[0].m_countLimit, 10);
}

TEST(RelaySettingsTest, SettingsWithoutMonitorChannelsExportAndImportAgain) {
    const CRecCnd cnd = ConditionWithMonitorNumbers();
    const RelaySettings exported{{7000, 250, 60, 0, 600}, {}};
    TextLines lines;
    FormatRelaySettingsLines(exported, lines);
    EXPECT_EQ(lines, (TextLines{"N66.FILE", "DOG_TIMER 7000,250,60,0,600", ""}));
    RelaySettings imported{{}, cnd.m_monitorChannels};
    CFakePrompt prompt;
    ASSERT_TRUE(ImportRelaySettings(lines, cnd, imported, prompt));
    EXPECT_EQ(imported.dog, exported.dog);
    EXPECT_TRUE(imported.monitors.empty());
}

TEST(RelaySettingsTest, ImportRefusesForeignOrIncompatibleFiles) {
    const CRecCnd cnd = ConditionWithMonitorNumbers();
    RelaySettings settings{{1, 2, 3, 0, 100}, {}};
    const RelaySettings before = settings;
    CFakePrompt prompt;

    EXPECT_FALSE(ImportRelaySettings({"N66.FILE", "DOG_TIMER 1,2,3,4,5"}, cnd, settings, prompt));
    EXPECT_FALSE(
        ImportRelaySettings({"n66.file", "DOG_TIMER 1,2,3,4,5", "MONITORCH 1,Force,0,0,0,0,0,0,0"},
                            cnd, settings, prompt));
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"Invalid file format!\nLine 3 is missing.",
                                        "Invalid file format!\nLine 1: n66.file"}));
    EXPECT_EQ(prompt.Messages()[0].icon, PromptIcon::Stop);

    prompt.Clear();
    EXPECT_FALSE(
        ImportRelaySettings({"N66.FILE", "DOG_TIMER 9,9,9,9,9", "MONITORCH 1,Other,0,0,0,0,0,0,0"},
                            cnd, settings, prompt));
    EXPECT_FALSE(
        ImportRelaySettings({"N66.FILE", "DOG_TIMER 9,9,9,9,9", "MONITORCH 5,Force,0,0,0,0,0,0,0"},
                            cnd, settings, prompt));
    EXPECT_EQ(
        prompt.MessageTexts(),
        (std::vector<std::string>{"Imcompatible File !\nLine 3: MONITORCH 1,Other,0,0,0,0,0,0,0",
                                  "Imcompatible File !\nLine 3: MONITORCH 5,Force,0,0,0,0,0,0,0"}));
    EXPECT_EQ(settings.dog, before.dog);

    // Eight values are too few for the import (the condition reader would take them); the
    // watch-dog values are not forced into range here.
    ASSERT_TRUE(
        ImportRelaySettings({"N66.FILE", "DOG_TIMER 9,8,7,1,5", "MONITORCH 1,Force,0,0,0,0,0,0"},
                            cnd, settings, prompt));
    EXPECT_TRUE(settings.monitors.empty());
    EXPECT_EQ(settings.dog, (WatchDogSettings{9, 8, 7, 1, 5}));
}

TEST(RelaySettingsTest, InformationViewTexts) {
    WatchDogSettings dog{6000, 250, 30, 1, 600};
    EXPECT_EQ(FormatRelayInfoLines(dog),
              (std::vector<std::string>{"Relay Control Setting : ",
                                        "Trg Timer : 250 ms ,Rec Start : Yes ,AutoMonitor:600 sec",
                                        "WatchingDog Timer:6000 ms ,REC Stop:Y, ACQ Time:30 sec"}));
    dog.recStopTime = WatchDogSettings::kRecStopOff;
    dog.recStart = 0;
    const auto lines = FormatRelayInfoLines(dog);
    EXPECT_EQ(lines[1], "Trg Timer : 250 ms ,Rec Start : No ,AutoMonitor:600 sec");
    EXPECT_EQ(lines[2], "WatchingDog Timer:6000 ms ,REC Stop:N ");

    CMonitorCh monitor;
    monitor.m_channel = 3;
    monitor.m_signalName = "Load";
    monitor.m_condition = 2;
    monitor.m_x = 1.5;
    monitor.m_y = -2;
    monitor.m_and = 1;
    monitor.m_port = 1;
    EXPECT_EQ(FormatRelayInfoRow(4, monitor, {0, 1, 0, 0, 0, 0, 0, 0}),
              (std::vector<std::string>{"4", "Ch3", "Load", "1.500", "Data < X ", "-2.000", "O",
                                        "P2(B)"}));
    monitor.m_and = 0;
    monitor.m_port = 0;
    monitor.m_condition = 42;
    EXPECT_EQ(FormatRelayInfoRow(1, monitor, {0, 1}),
              (std::vector<std::string>{"1", "Ch3", "Load", "1.500", "", "-2.000", "", "P1(A)"}));
}

TEST(RelaySettingsTest, TriggerRingAnswersOnceFullWithinTheCountLimit) {
    CMonitorCh monitor;
    monitor.m_trgTimes = 3;
    monitor.m_countLimit = 10;
    // Spans of the last three: 0-10 is 10, then 4-20 is 16, 10-25 is 15, and 20-26 is 6.
    const std::pair<int, bool> triggers[] = {{0, false},  {4, false},  {10, true},
                                             {20, false}, {25, false}, {26, true}};
    for (const auto& [count, answers] : triggers)
        EXPECT_EQ(monitor.TestTrigger(count), answers) << count;
    monitor.ClearTriggers();
    EXPECT_FALSE(monitor.TestTrigger(22));

    CMonitorCh single; // no trigger count: every trigger counts at once
    EXPECT_TRUE(single.TestTrigger(5));
}

// Only the eight relay ports exist: a file naming another is refused before anything prints it
// (port 2147483647 would overflow as "P%d" of port + 1), and the condition reader drops the line.
TEST(RelaySettingsTest, PortsOutsideTheEightAreRefusedOnReading) {
    const CRecCnd cnd = ConditionWithMonitorNumbers();
    CFakePrompt prompt;
    struct Case {
        const char* port;
        bool taken;
    };
    for (const Case& c : {Case{"0", true}, Case{"7", true}, Case{"8", false}, Case{"-1", false},
                          Case{"2147483647", false}, Case{"4294967296", false}}) {
        SCOPED_TRACE(c.port);
        prompt.Clear();
        RelaySettings settings;
        const std::string line = std::string("MONITORCH 1,Force,0,0,0,0,") + c.port + ",0,0";
        EXPECT_EQ(
            ImportRelaySettings({"N66.FILE", "DOG_TIMER 9,8,7,1,5", line}, cnd, settings, prompt),
            c.taken);
        EXPECT_EQ(prompt.MessageTexts(),
                  c.taken ? std::vector<std::string>{}
                          : std::vector<std::string>{"Invalid file format!\nLine 3: " + line});
        if (c.taken) {
            EXPECT_EQ(FormatRelayInfoRow(1, settings.monitors.at(0), {0, 0, 0, 0, 0, 0, 0, 1})[7],
                      std::string(c.port) == "7" ? "P8(B)" : "P1(A)");
        }

        CRecCnd read;
        ASSERT_TRUE(read.ParseLines({CRecCnd::kFileMarker, line}));
        EXPECT_EQ(read.m_monitorChannels.size(), c.taken ? 1u : 0u);
    }
}

TEST(RelaySettingsTest, FilesThatAreNoRelayFilesAreRefusedWithTheFileMessage) {
    const CRecCnd cnd = ConditionWithMonitorNumbers();
    CFakePrompt prompt;
    RelaySettings settings;
    EXPECT_FALSE(ImportRelaySettingsFile("/dev/zero", cnd, settings, prompt));
    const std::string big =
        (std::filesystem::temp_directory_path() / "zt300_relay_big.n66").string();
    {
        std::ofstream out(big, std::ios::binary);
        out << "N66.FILE\r\nDOG_TIMER 1,2,3,4,5\r\n";
        out << std::string(CTextFile::kMaxLoadBytes, '#');
    }
    EXPECT_FALSE(ImportRelaySettingsFile(big, cnd, settings, prompt));
    std::filesystem::remove(big);
    EXPECT_EQ(
        prompt.MessageTexts(),
        (std::vector<std::string>{"An unexpected error occurred while reading /dev/zero.",
                                  "An unexpected error occurred while reading " + big + "."}));
}
