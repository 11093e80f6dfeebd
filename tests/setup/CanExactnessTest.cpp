// Where a K module cannot carry a DBC signal exactly: scale values and start bits, the marks and
// the question that names the signals; nothing of this for G modules.
#include "setup/CanExactness.h"
#include "setup/DBCFile.h"

#include <gtest/gtest.h>

namespace {

CDBCData ExactnessPage() {
    CDBCData page;
    CDbcLeftOut leftOut;
    EXPECT_EQ(CDBCFile::Load(ZT300_TEST_DATA_DIR "/can/exactness.dbc", page, leftOut), "");
    return page;
}

} // namespace

TEST(CanExactness, MarksScalesThatThreeDecimalsChangeAndStartsOffTheirByte) {
    const struct {
        const char* name;
        int start;
        const char* mark;
    } expected[] = {
        {"FineFactor", 1, "Factor 0.000127465 is sent as 0.000"},
        {"HalfMilli", 3, "Offset 0.0005 is sent as 0.001"},
        {"Eighth", 5, ""},
        {"OneAndHalf", 7, ""},
        {"IntelOn", 2, ""}, // Intel start bit 8
        {"IntelOff", 2, "Start bit 12 is not on a byte boundary: sent as start byte 2"},
        {"MotoOn", 2, ""}, // Motorola start bit 15
        {"MotoOff", 1, "Start bit 12 is not on a byte boundary: sent as start byte 1"},
        {"MotoLow", 0, "Start bit 3 is not on a byte boundary: sent as start byte 0"},
        {"Tiny", 3, "Factor 1e-07 is sent as 0.000"},
    };
    const CDBCData page = ExactnessPage();
    ASSERT_EQ(page.m_items.size(), std::size(expected));
    for (std::size_t i = 0; i < page.m_items.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(page.m_items[i].m_name, expected[i].name);
        EXPECT_EQ(page.m_items[i].m_start, expected[i].start);
        EXPECT_EQ(CCanExactness::Describe(page.m_items[i]), expected[i].mark);
    }

    CDBCItem both = page.m_items[0];
    both.m_offset = -0.0625;
    both.m_startBit = 4;
    EXPECT_EQ(CCanExactness::Describe(both),
              "Factor 0.000127465 is sent as 0.000\nOffset -0.0625 is sent as -0.062\n"
              "Start bit 4 is not on a byte boundary: sent as start byte 1");
    // Read from a module or a DCD file a signal has no start bit to judge.
    both.m_startBit = -1;
    EXPECT_TRUE(CCanExactness::IsStartExact(both));
    for (double exact : {0.0, 1.0, -40.0, 0.001, 1234567.125, 0.1})
        EXPECT_TRUE(CCanExactness::IsScaleExact(exact)) << exact;
    for (double inexact : {0.0001, 1e-300, 0.1234, 2.0005})
        EXPECT_FALSE(CCanExactness::IsScaleExact(inexact)) << inexact;
}

TEST(CanExactness, QuestionNamesTheSignals) {
    const CDBCData page = ExactnessPage();
    const auto pick = [&](std::initializer_list<std::size_t> indexes) {
        std::vector<const CDBCItem*> items;
        for (std::size_t i : indexes)
            items.push_back(&page.m_items[i]);
        return items;
    };
    EXPECT_EQ(CCanExactness::Question(pick({2, 3, 4, 6}), "Send"), "");
    EXPECT_EQ(CCanExactness::Question(pick({0, 1, 2}), "Send"),
              "Factor or offset of 2 signals cannot be sent exactly: FineFactor, HalfMilli\n"
              "Send anyway?");
    EXPECT_EQ(CCanExactness::Question(pick({5, 9}), "Save"),
              "Factor or offset of 1 signal cannot be sent exactly: Tiny\n"
              "Start bit of 1 signal cannot be sent exactly: IntelOff\n"
              "Save anyway?");

    std::vector<CDBCItem> many(12, page.m_items[8]);
    std::vector<const CDBCItem*> all;
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i].m_name = "S" + std::to_string(i);
        all.push_back(&many[i]);
    }
    EXPECT_EQ(CCanExactness::Question(all, "Send"),
              "Start bit of 12 signals cannot be sent exactly: S0, S1, S2, S3, S4, S5, S6, S7, S8, "
              "S9 and 2 more\nSend anyway?");
}

TEST(CanExactness, ModuleGTakesEverySignalExactly) {
    CDBCData_G page;
    CDbcLeftOut leftOut;
    ASSERT_EQ(CDBCFile::Load(ZT300_TEST_DATA_DIR "/can/exactness.dbc", page, leftOut), "");
    std::vector<const CDBCItem_G*> all;
    for (const CDBCItem_G& item : page.m_items) {
        EXPECT_EQ(CCanExactness::Describe(item), "") << item.m_name;
        all.push_back(&item);
    }
    EXPECT_EQ(page.m_items[0].m_factor, "0.000127465");
    EXPECT_EQ(page.m_items[8].m_start, 3);
    EXPECT_EQ(CCanExactness::Question(all, "Send"), "");
}
