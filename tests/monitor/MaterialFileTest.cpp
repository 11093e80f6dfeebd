#include "monitor/DocMaterials.h"
#include "monitor/MyMatData.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

const std::string kFixtures = ZT300_TEST_DATA_DIR "/monitor/";

std::string ReadFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TextLines TemplateWith(std::initializer_list<std::string> rows) {
    TextLines lines{CMaterialData::kFileHeader, "title", CMaterialData::kColumnHeader};
    lines.insert(lines.end(), rows);
    return lines;
}

} // namespace

TEST(MaterialFileTest, TemplateReadsAndWritesBackByteForByte) {
    CMyMatData data;
    ASSERT_EQ(data.LoadFile(kFixtures + "materials.zai"), "");
    EXPECT_FALSE(data.m_commaSeparated);
    EXPECT_EQ(data.m_title, "Bench 7 axle materials");
    ASSERT_EQ(data.m_items.size(), 3u);
    const CMaterialItem& steel = data.m_items[0];
    EXPECT_EQ(steel.m_material, "Steel");
    EXPECT_EQ(steel.m_id, "S355");
    EXPECT_EQ(steel.m_unit, "MPa");
    EXPECT_EQ(steel.m_max, "355");
    EXPECT_EQ(steel.m_min, "-355");
    EXPECT_EQ(steel.m_damage, "0.5");
    EXPECT_EQ(steel.m_life, "1000000");
    EXPECT_EQ(steel.m_sValue, 250.0);
    EXPECT_EQ(steel.m_slope, -3);
    EXPECT_EQ(steel.m_sn, (std::array<double, 8>{200, 1e6, 150, 2e6, 100, 5e6, 50, 1e7}));
    EXPECT_EQ(steel.m_s2Chk, 1);
    EXPECT_EQ(steel.m_invalidChk, 1);
    EXPECT_EQ(steel.m_invalidCnt, 12);
    EXPECT_EQ(data.m_items[1].m_calUnit, "d");
    EXPECT_EQ(data.m_items[2].m_sValue, 3.75e-3);

    CTempFolder folder("materials");
    ASSERT_EQ(data.Save(folder.File("copy.zai")), "");
    EXPECT_EQ(ReadFileText(folder.File("copy.zai")), ReadFileText(kFixtures + "materials.zai"));

    // A copy is a list of its own.
    CMyMatData copy = data;
    copy.m_items[0].m_max = "1";
    EXPECT_EQ(data.m_items[0].m_max, "355");
}

TEST(MaterialFileTest, TemplateRules) {
    CMaterialData data;
    EXPECT_TRUE(data.ParseLines(TemplateWith({})));
    EXPECT_TRUE(data.m_items.empty()) << "the three header lines only";

    const std::string good = CMaterialItem{}.Format();
    const std::string fewer = good.substr(0, good.rfind(','));
    EXPECT_TRUE(data.ParseLines(TemplateWith({fewer, good + ",9", good, "junk"})));
    EXPECT_EQ(data.m_items.size(), 1u) << "24 and 26 columns are skipped";
    EXPECT_EQ(data.m_items[0], CMaterialItem{});

    // Three-digit exponents and malformed numbers are read too.
    CMaterialItem item;
    ASSERT_TRUE(item.Parse("M,I,U,1,0,,,7,2.5e+001,h,x,1.0e-003,-4,1e+002,0,0,0,0,0,0,0,5,0,0,q"));
    EXPECT_EQ(item.m_calValue, 25.0);
    EXPECT_EQ(item.m_line, 0);
    EXPECT_EQ(item.m_sValue, 1e-3);
    EXPECT_EQ(item.m_sn[0], 100.0);
    EXPECT_EQ(item.m_invalidCnt, 0);
    // Flags are written 1 or 0 whatever they held.
    EXPECT_EQ(item.Format(), "M,I,U,1,0,,,1,2.500000e+01,h,0,1.000000e-03,-4,1.000000e+02,"
                             "0.000000e+00,0.000000e+00,0.000000e+00,0.000000e+00,0.000000e+00,"
                             "0.000000e+00,0.000000e+00,1,0,0,0");
    EXPECT_EQ(CMaterialItem{}.Format(),
              ",,,,,,,1,1.000000e+00,h,1,1.000000e+00,-3,0.000000e+00,0.000000e+00,0.000000e+00,"
              "0.000000e+00,0.000000e+00,0.000000e+00,0.000000e+00,0.000000e+00,0,0,0,0");
}

TEST(MaterialFileTest, RefusalsChangeNothingAndNameTheLine) {
    CTempFolder folder("materials-bad");
    const struct {
        const char* name;
        const char* content;
        const char* detail;
    } cases[] = {
        {"case.zai", "material parameter file\r\nT\r\nH\r\n", "Line 1: material parameter file"},
        {"short.zai", "Material Parameter File\r\nT\r\n", "Line 3 is missing."},
        {"empty.csv", "", "Line 1 is missing."},
    };
    CMyMatData data;
    ASSERT_EQ(data.LoadFile(kFixtures + "materials.zai"), "");
    for (const auto& c : cases) {
        std::ofstream(folder.File(c.name), std::ios::binary) << c.content;
        EXPECT_EQ(data.LoadFile(folder.File(c.name)),
                  folder.File(c.name) + ":Unexpected file format.\n" + c.detail);
        EXPECT_EQ(data.m_items.size(), 3u) << c.name;
        EXPECT_EQ(data.m_title, "Bench 7 axle materials");
    }
    EXPECT_NE(data.LoadFile(folder.File("none.zai")), "");
    EXPECT_EQ(data.m_items.size(), 3u);
}

TEST(MaterialFileTest, CommaSeparatedList) {
    EXPECT_TRUE(CMyMatData::IsCommaSeparatedPath("/x/List.CSV"));
    EXPECT_FALSE(CMyMatData::IsCommaSeparatedPath("/x.csv/List.zai"));
    CMyMatData data;
    ASSERT_EQ(data.LoadFile(kFixtures + "materials.csv"), "");
    EXPECT_TRUE(data.m_commaSeparated);
    EXPECT_EQ(data.m_title, "Bench 7 limits");
    ASSERT_EQ(data.m_items.size(), 2u) << "the short line is skipped";
    CMaterialItem steel;
    steel.m_material = "Steel";
    steel.m_id = "S355";
    steel.m_unit = "MPa";
    steel.m_max = "400";
    steel.m_min = "100";
    EXPECT_EQ(data.m_items[0], steel) << "fatigue fields at their defaults";
    EXPECT_EQ(data.m_items[1].m_min, "-2");
}

TEST(MaterialLimitsTest, ChannelLimitsFromTheLoadedListOrTheMaterialValues) {
    CMemorySettingsStore store;
    store.WriteString("ZT300DOC_Section", "Mat_FilePath", kFixtures + "materials.zai");
    CDocMaterials materials;
    materials.Restore(store);
    const struct {
        std::array<std::string, 4> mat;
        std::optional<double> upper;
        std::optional<double> lower;
    } cases[] = {
        {{"", "", "5", ""}, 5.0, std::nullopt},
        {{"", "", "abc", "-1.5"}, 0.0, -1.5},         // not a number reads as 0
        {{"Steel", "S355", "1", "0"}, 355.0, -355.0}, // the list's limits count
        {{"Alu", "AW6082", "1", "0"}, std::nullopt, -120.0},
        {{"Steel", "S235", "1", "0"}, 1.0, 0.0}, // not in the list: its own values
    };
    for (const auto& c : cases) {
        CChCnd channel;
        channel.m_mat = c.mat;
        const ChannelLimitPair limits = materials.GetLimits(channel);
        EXPECT_EQ(limits.upper, c.upper) << c.mat[0] << c.mat[2];
        EXPECT_EQ(limits.lower, c.lower) << c.mat[0] << c.mat[3];
    }
}

TEST(MaterialLimitsTest, TheDocumentRemembersItsMaterialFile) {
    CMemorySettingsStore store;
    CDocMaterials materials;
    materials.Restore(store);
    EXPECT_EQ(materials.GetPath(), "");
    EXPECT_TRUE(materials.GetData().m_items.empty());

    store.WriteString("ZT300DOC_Section", "Mat_FilePath", kFixtures + "materials.csv");
    materials.Restore(store);
    EXPECT_EQ(materials.GetData().m_items.size(), 2u);
    EXPECT_NE(materials.Replace(kFixtures + "none.zai"), "");
    EXPECT_EQ(materials.GetPath(), kFixtures + "materials.csv")
        << "a failed choice changes nothing";
    ASSERT_EQ(materials.Replace(kFixtures + "materials.zai"), "");
    materials.Remember(store);
    EXPECT_EQ(store.GetString("ZT300DOC_Section", "Mat_FilePath", ""), kFixtures + "materials.zai");
}
