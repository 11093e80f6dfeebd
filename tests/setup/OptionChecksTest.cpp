#include "setup/OptionChecks.h"

#include <gtest/gtest.h>

TEST(OptionChecks, BalanceWarningIsAWholeNumberFromZeroToHundred) {
    std::uint16_t value = 7;
    EXPECT_FALSE(CheckBalWarnPercent("0", value));
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(CheckBalWarnPercent(" 100 ", value));
    EXPECT_EQ(value, 100);
    EXPECT_EQ(CheckBalWarnPercent("101", value), "Please enter an integer between 0 and 100.");
    EXPECT_EQ(CheckBalWarnPercent("-1", value), "Please enter an integer between 0 and 100.");
    EXPECT_EQ(CheckBalWarnPercent("99999999999999999999", value),
              "Please enter an integer between 0 and 100.");
    EXPECT_EQ(CheckBalWarnPercent("5x", value), "Please enter an integer.");
    EXPECT_EQ(CheckBalWarnPercent("", value), "Please enter an integer.");
    EXPECT_EQ(value, 100); // a refused text leaves the value
}

TEST(OptionChecks, HorizontalGridLiesBetweenAHundredthOfTheWidthAndTheWidth) {
    double grid = 2.0;
    EXPECT_EQ(CheckXGrid("0.05", 10, grid), "Please enter a number between 0.1 and 10.");
    EXPECT_EQ(grid, 2.0);
    EXPECT_FALSE(CheckXGrid("0.1", 10, grid));
    EXPECT_EQ(grid, 0.1);
    EXPECT_FALSE(CheckXGrid("10", 10, grid));
    EXPECT_EQ(CheckXGrid("10.5", 10, grid), "Please enter a number between 0.1 and 10.");
    EXPECT_FALSE(CheckXGrid("18", 1800, grid)); // a hundredth of the width exactly
    EXPECT_FALSE(CheckXGrid("0.3", 30, grid));
    EXPECT_FALSE(CheckXGrid("+3e1", 1800, grid));
    EXPECT_EQ(grid, 30.0);
    EXPECT_EQ(CheckXGrid("1,5", 10, grid), "Please enter a number.");
    EXPECT_EQ(CheckXGrid("inf", 10, grid), "Please enter a number.");
    EXPECT_EQ(CheckXGrid("nan", 10, grid), "Please enter a number.");
    EXPECT_EQ(CheckXGrid("0.5", 1, grid), std::nullopt);
    EXPECT_EQ(CheckXGrid("180", 18000, grid), std::nullopt);
    EXPECT_EQ(CheckXGrid("100", 45, grid), "Please enter a number between 0.45 and 45.");
}

TEST(OptionChecks, VerticalGridCountFromEightToSixtyFour) {
    int count = 25;
    EXPECT_EQ(CheckYGridCnt("7", count), "Please enter an integer between 8 and 64.");
    EXPECT_EQ(CheckYGridCnt("65", count), "Please enter an integer between 8 and 64.");
    EXPECT_EQ(CheckYGridCnt("8.5", count), "Please enter an integer.");
    EXPECT_EQ(count, 25);
    EXPECT_FALSE(CheckYGridCnt("8", count));
    EXPECT_FALSE(CheckYGridCnt("64", count));
    EXPECT_EQ(count, 64);
}

TEST(OptionChecks, ControlCodesAreTwoDigitsOnlyWithControlInput) {
    EXPECT_FALSE(CheckControlCode(true, "70"));
    EXPECT_FALSE(CheckControlCode(true, "09"));
    for (const char* unused : {"7", "", "8.", "123"}) // not used, so not checked
        EXPECT_FALSE(CheckControlCode(false, unused)) << unused;
    const std::string message = "Please input 2 figures digit number (0~9)!";
    EXPECT_EQ(CheckControlCode(true, "7"), message);
    EXPECT_EQ(CheckControlCode(true, "711"), message);
    EXPECT_EQ(CheckControlCode(true, ""), message);
    // The key input forms codes of digits only, so a "." would make a code that never matches.
    EXPECT_EQ(CheckControlCode(true, "7."), message);

    for (char key : std::string("0123456789.\b"))
        EXPECT_TRUE(IsCodeKeyAccepted(key)) << int(key);
    for (char key : std::string("a-+ ,/:"))
        EXPECT_FALSE(IsCodeKeyAccepted(key)) << key;
}

TEST(OptionChecks, ChartWidthRowOfTheStoredWidth) {
    const ChartWidthChoice ten = ChooseChartWidth(10, 0.5);
    EXPECT_EQ(ten.row, 3);
    EXPECT_EQ(ten.seconds, 10);
    EXPECT_EQ(ten.gridSeconds, 0.5); // a matching width keeps its own grid step

    const ChartWidthChoice unknown = ChooseChartWidth(45, 9.0);
    EXPECT_EQ(unknown.row, 0);
    EXPECT_EQ(unknown.seconds, 1);
    EXPECT_EQ(unknown.gridSeconds, 0.1);

    const ChartWidthChoice last = ChartWidthOfRow(13);
    EXPECT_EQ(last.seconds, 18000);
    EXPECT_EQ(last.gridSeconds, 3600.0);
    EXPECT_EQ(ChartWidthOfRow(14).seconds, 1);
    EXPECT_EQ(ChartWidthOfRow(-1).seconds, 1);
    EXPECT_EQ(ChooseChartWidth(1800, 300).row, 10);

    EXPECT_EQ(FormatOptionNumber(2.0), "2");
    EXPECT_EQ(FormatOptionNumber(0.1), "0.1");
    EXPECT_EQ(FormatOptionNumber(0.05), "0.05");
}
