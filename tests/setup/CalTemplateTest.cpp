// The calibration template file: the exported bytes, the way back into a unit, and files that
// do not fit the unit changing nothing.
#include "setup/CalTemplate.h"
#include "acquisition/ZT300SetDoc.h"
#include "conditions/TextNumbers.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "support/FakePrompt.h"
#include "support/RecordTestConditions.h"
#include "support/TestFiles.h"
#include "support/TestSlots.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

void AddSlot(CRecCnd& cnd, int n, int type, int count, std::vector<std::string> ranges) {
    AddTestSlot(
        cnd, n, FormatText("QA-80T%d", type), type, count, std::move(ranges), {},
        [](int) { return true; }, true);
}

// Two units with default calibration: the second has a voltage module (10V, 500mV), a CAN
// module with one two-word signal and a strain module.
std::vector<CRecCnd> FreshUnits() {
    std::vector<CRecCnd> units(2);
    AddSlot(units[0], 1, 2, 2, {"10V"});
    AddSlot(units[1], 1, 2, 2, {"10V", "500mV"});
    AddSlot(units[1], 2, 10, 1, {});
    units[1].m_channels[2].SetDataType(3);
    AddSlot(units[1], 3, 3, 1, {"2000uST"});
    return units;
}

// The condition the golden file was written from.
std::vector<CRecCnd> GoldenUnits() {
    std::vector<CRecCnd> units = FreshUnits();
    CRecCnd& unit = units[1];
    unit.m_memo = "Bridge test";
    unit.m_memo2 = "Run 4";
    CChCnd& load = unit.m_channels[0];
    load.m_name = "Load";
    load.m_phyUnit = "kN";
    load.m_memo = "left";
    load.m_phy1 = 50.0;
    load.m_amp1 = 5.0;
    load.m_sepChartScale = {-50.0, 50.0, 20.0, 0};
    CChCnd& pressure = unit.m_channels[1];
    pressure.m_name = "Pressure";
    pressure.m_phyUnit = "MPa";
    pressure.m_phy1 = 20.0;
    pressure.m_amp1 = 250.0;
    pressure.m_phy0 = 10.0;
    pressure.m_amp0 = 150.0; // the zero lies at 50 mV
    pressure.m_sepChartScale = {0.0, 25.0, 5.0, 0};
    unit.m_channels[3].m_sepChartScale = {0.0, 0.0, 1.0, 0}; // no scale: empty fields
    return units;
}

const std::string kGolden = ZT300_TEST_DATA_DIR "/cal/golden.cal";

// Everything of a unit a template may touch, as text.
std::string Describe(const CRecCnd& unit) {
    TextLines lines;
    unit.FormatLines(lines);
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TextLines Lines(const std::string& text) {
    TextLines lines;
    return CTextFile::SplitText(lines, "\n", text);
}

const std::string kHead = "TITLE:x , y\nINTERVAL:\tVER3\nXUNIT:\nheader\n";
const std::string kLoad = "3\tLoad\t1\tkN\t2\tV\t0\t\t0\t\t\t1\t2\t0\t0";

} // namespace

TEST(CalTemplateTest, ExportIsTheGoldenFileByteForByte) {
    CTempFolder folder("cal-export");
    std::vector<CRecCnd> units = GoldenUnits();
    TextLines lines;
    CCalTemplate::FormatLines(units, 1, lines);
    ASSERT_EQ(CTextFile::WriteTextLines(folder.File("out.cal"), lines), "");
    EXPECT_EQ(ReadTestFile(folder.File("out.cal")), ReadTestFile(kGolden));
}

TEST(CalTemplateTest, ImportOfTheGoldenFileGivesAFreshUnitTheSameCalibration) {
    std::vector<CRecCnd> units = FreshUnits();
    const std::string before = Describe(units[0]);
    ASSERT_EQ(CCalTemplate::ApplyFile(units, {1}, kGolden), "");
    const std::vector<CRecCnd> golden = GoldenUnits();
    for (const int i : {0, 1, 3}) {
        const CChCnd& got = units[1].m_channels[static_cast<std::size_t>(i)];
        const CChCnd& want = golden[1].m_channels[static_cast<std::size_t>(i)];
        EXPECT_EQ(got.m_name, want.m_name) << i;
        EXPECT_EQ(got.m_phyUnit, want.m_phyUnit) << i;
        EXPECT_EQ(got.m_memo, want.m_memo) << i;
        EXPECT_EQ((std::vector{got.m_phy1, got.m_amp1, got.m_phy0, got.m_amp0}),
                  (std::vector{want.m_phy1, want.m_amp1, want.m_phy0, want.m_amp0}))
            << i;
    }
    EXPECT_EQ(units[1].m_channels[0].m_sepChartScale, (CScale{-50.0, 50.0, 20.0, 0}));
    EXPECT_EQ(units[1].m_channels[1].m_sepChartScale, (CScale{0.0, 25.0, 5.0, 0}));
    // Empty scale fields keep the channel's scale; the other unit is not touched.
    EXPECT_EQ(units[1].m_channels[3].m_sepChartScale,
              FreshUnits()[1].m_channels[3].m_sepChartScale);
    EXPECT_EQ(Describe(units[0]), before);
}

TEST(CalTemplateTest, AFileThatDoesNotFitChangesNothingAndNamesTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "Line 1 does not contain \"TITLE:\"."},
        {"TITLE:\nXUNIT:\n", "Line 2 does not contain \"INTERVAL:\"."},
        {"TITLE:\nINTERVAL:\tVER3\n", "Line 3 does not contain \"XUNIT:\"."},
        {kHead, "No calibration line."},
        {kHead + kLoad + "\n3\tLoad\t1\tkN\t2\tV\n",
         "Line 6 has 6 fields; a calibration line has 15."},
        {kHead + kLoad + "\tmore\n", "Line 5 has 16 fields; a calibration line has 15."},
        {kHead + "x3\tLoad\t1\tkN\t2\tV\t0\t\t0\t\t\t1\t2\t0\t0\n",
         "Line 5: field 1 (\"x3\") is not a number."},
        {kHead + "3\tLoad\t1,5\tkN\t2\tV\t0\t\t0\t\t\t1\t2\t0\t0\n",
         "Line 5: field 3 (\"1,5\") is not a number."},
        {kHead + kLoad + "\n4\tP\t1\tkN\t2\tmV\t0\t\t0\t\t\t1\t2\t0\tnan\n",
         "Line 6: field 15 (\"nan\") is not a number."},
        {kHead + "3\tLoad\t1\tkN\t2\tV\t0\t\t0\t-1\tx\t1\t2\t0\t0\n",
         "Line 5: field 11 (\"x\") is not a number."},
        {kHead + "9\tLoad\t1\tkN\t2\tV\t0\t\t0\t\t\t1\t2\t0\t0\n",
         "Line 5: the unit has no channel Ch9 measured in \"V\"."},
        {kHead + "4\tLoad\t1\tkN\t2\tV\t0\t\t0\t\t\t1\t2\t0\t0\n",
         "Line 5: the unit has no channel Ch4 measured in \"V\"."},
        {kHead + "5\tRPM\t1\t\t2\t\t0\t\t0\t\t\t1\t2\t0\t0\n", // CAN channels take no calibration
         "Line 5: the unit has no channel Ch5 measured in \"\"."},
        {kHead + "1\tLoad\t1\tkN\t2\tV\t0\t\t0\t\t\t1\t2\t0\t0\n", // a channel of the other unit
         "Line 5: the unit has no channel Ch1 measured in \"V\"."},
        {kHead + "3\tLoad,1\t1\tkN\t2\tV\t0\t\t0\t\t\t1\t2\t0\t0\n",
         "Line 5: field 2 (\"Load,1\") holds \",\" or \"=\", which a condition cannot keep."},
    };
    for (const auto& [text, message] : cases) {
        std::vector<CRecCnd> units = FreshUnits();
        const std::string before = Describe(units[1]);
        EXPECT_EQ(CCalTemplate::ApplyLines(units, {1}, Lines(text)), message) << text;
        EXPECT_EQ(Describe(units[1]), before) << text;
    }
}

TEST(CalTemplateTest, LinesWithoutChannelOrPointAreLeftOutAndOldVersionsCarryOnePoint) {
    std::vector<CRecCnd> units = FreshUnits();
    // Version 1 (no number after INTERVAL:): eleven fields, the point and the zero; the unit
    // is matched without regard to case; blank lines and lines without a number are left out.
    const std::string text = "TITLE:\nINTERVAL:\nXUNIT:\nheader\n"
                             "\t\t\t\n"
                             "\tNo number\t1\tkN\t2\tV\t0\t\t\t\t\n"
                             "4\tNo V_CAL\t\tkN\t2\tMV\t0\t\t\t\t\n"
                             "3\t Load \t100\t kN \t4\tv\t-1.5\tm\t25\t\t\n";
    ASSERT_EQ(CCalTemplate::ApplyLines(units, {1}, Lines(text)), "");
    const CChCnd& load = units[1].m_channels[0];
    EXPECT_EQ(load.m_name, "Load");
    EXPECT_EQ(load.m_phyUnit, "kN");
    EXPECT_EQ(load.m_memo, "m");
    EXPECT_EQ((std::vector{load.m_phy1, load.m_amp1, load.m_phy0, load.m_amp0}),
              (std::vector{100.0, 5.5, 0.0, 1.5}));
    EXPECT_DOUBLE_EQ(load.GetAmpOffset(), 1.5);
    EXPECT_EQ(units[1].m_channels[1].m_name, "");
}

TEST(CalTemplateTest, DocumentCommandsTellTheUserAndCalRefAppliesTheFileAtConnection) {
    CTempFolder folder("cal-doc");
    std::string error;
    auto link = CSimLink::FromConfigText("RECORDER ZT-300 127.0.0.2\n"
                                         "SLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10,5 ON=1-2\n",
                                         error);
    ASSERT_TRUE(link) << error;
    const std::string calFile = folder.File("ref.cal");
    ASSERT_EQ(CTextFile::WriteTextLines(calFile,
                                        Lines("TITLE:\nINTERVAL:\tVER3\nXUNIT:\nh\n"
                                              "2\tRight\t10\tkN\t2\tV\t0\t\t5\t\t\t10\t2\t0\t0")),
              "");
    CFakePrompt prompt;
    CSystemClock clock;
    CRecorderSettings settings;
    settings.m_calRef = 1;
    settings.m_calFileRef = calFile;
    DocServices services{*link, prompt, clock, settings, folder.Path() + "/"};
    services.applyCalibrationReference = [&](std::vector<CRecCnd>& conditions) {
        CCalTemplate::ApplyReference(conditions, settings, prompt);
    };
    {
        CZT300SetDoc doc(services);
        ASSERT_TRUE(doc.OnOpenDocument("127_0_0_2_ZT-300"));
        const CChCnd& right = doc.GetConditions()[0].m_channels[1];
        EXPECT_EQ(right.m_name, "Right");
        EXPECT_EQ(right.m_amp1, 2.0);
        EXPECT_TRUE(prompt.MessageTexts().empty());

        EXPECT_TRUE(CCalTemplate::Export(doc, folder.File("out.cal"), prompt));
        EXPECT_FALSE(CCalTemplate::Export(doc, folder.File("none/out.cal"), prompt));
        int beeps = 0;
        EXPECT_FALSE(CCalTemplate::Import(doc, folder.File("none.cal"), prompt, [&] { ++beeps; }));
        EXPECT_TRUE(CCalTemplate::Import(doc, folder.File("out.cal"), prompt, [&] { ++beeps; }));
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(beeps, 1);
        const std::vector<std::string> texts = prompt.MessageTexts();
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[0], "Exported CAL OK!");
        EXPECT_EQ(texts[1], CTextFile::OpenFailureMessage(folder.File("none/out.cal"), ENOENT,
                                                          FileDirection::Writing));
        EXPECT_EQ(texts[2], CTextFile::OpenFailureMessage(folder.File("none.cal"), ENOENT,
                                                          FileDirection::Reading));
        doc.OnCloseDocument(); // the default condition file keeps the calibration
    }
    // A reference file that does not fit is reported and changes nothing.
    ASSERT_EQ(CTextFile::WriteTextLines(calFile, Lines(kHead + "9" + kLoad.substr(1))), "");
    std::filesystem::remove(folder.File("DefRecCnd.czd"));
    prompt.Clear();
    CZT300SetDoc doc(services);
    ASSERT_TRUE(doc.OnOpenDocument("127_0_0_2_ZT-300"));
    EXPECT_EQ(doc.GetConditions()[0].m_channels[1].m_name, "");
    EXPECT_EQ(
        prompt.MessageTexts(),
        (std::vector<std::string>{
            calFile +
            ":Line 5: the unit has no channel Ch9 measured in \"V\". Nothing was imported."}));
}
