#include "monitor/DataFormat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

struct FormatCase {
    std::int16_t kind;
    std::int32_t digits;
    double value;
    const char* text;
};

} // namespace

TEST(DataFormatTest, NumberKindsRoundAndPadAsTheAxesShowThem) {
    const FormatCase cases[] = {
        {CDataFormat::FRACTIONAL, 0, 3.0, " 3"},
        {CDataFormat::FRACTIONAL, 0, 2.5, " 2"}, // round half to even, as printf does
        {CDataFormat::FRACTIONAL, 1, 12.46, " 12.5"},
        {CDataFormat::FRACTIONAL, 3, -1.2345, "-1.234"},
        {CDataFormat::FRACTIONAL, 3, 1.2345, " 1.234"},
        {CDataFormat::FRACTIONAL, 2, -0.004, "-0.00"},
        {CDataFormat::FRACTIONAL, -4, 7.0, " 7"}, // negative digits count as 0
        {CDataFormat::EXPONENTIAL, 3, 12345.0, " 1.234E+04"},
        {CDataFormat::EXPONENTIAL, 3, 12355.0, " 1.236E+04"},
        {CDataFormat::EXPONENTIAL, 1, -0.00042, "-4.2E-04"},
        {CDataFormat::SIGNIFICANT, 3, 1.2345, "1.23"},
        {CDataFormat::SIGNIFICANT, 3, 123.45, "123"},
        {CDataFormat::SIGNIFICANT, 3, 0.0123, "0.01"},
        {CDataFormat::SIGNIFICANT, 4, 1234.6, "1235"},
        {CDataFormat::SIGNIFICANT, 4, 0.00012, "0.000"},
        {CDataFormat::SIGNIFICANT, 3, -2.5678, "-2.57"},
        {CDataFormat::SIGNIFICANT, 7, 0.0, "0"},
        {CDataFormat::SIGNIFICANT, 0, 42.0, "42"},
        {CDataFormat::RELATIVE_TIME, 0, 3661.9, "01:01:01"},
        {CDataFormat::RELATIVE_TIME, 2, 90000.0, "01:00:00"}, // whole days do not show
        {CDataFormat::RELATIVE_TIME, 0, -61.5, "-00:01:01"},
        {CDataFormat::RELATIVE_TIME, 0, 1e300, "03:14:07"}, // saturates at 32 bits
        {CDataFormat::REAL_TIME, 0, 59.0, "00:00:59"},      // no base time: elapsed time
        {7, 3, 1.0, ""},
        {-1, 3, 1.0, ""},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(Format(c.kind, c.digits, c.value), c.text)
            << "kind " << c.kind << " digits " << c.digits << " value " << c.value;
        EXPECT_EQ(CDataFormat(c.kind, c.digits).Format(c.value), c.text);
    }
    const CDataFormat fresh;
    EXPECT_EQ(fresh.GetKind(), CDataFormat::FRACTIONAL);
    EXPECT_EQ(fresh.GetDigits(), 0);
}

TEST(DataFormatTest, DistancesInWholeUnitsAndARemainder) {
    const struct {
        double value;
        const char* unit;
        const char* text;
    } cases[] = {
        {1234.5, "m", "1km234.50m"},       {999.0, "mm", "0m999.00mm"},
        {1234.5, " KM ", "1234km500.00m"}, {250.0, "cm", "2m50.00cm"},
        {-250.0, "m", "-1km750.00m"},      {3.14159, "V", "3.14V"},
        {2.0, " deg", "2.00 deg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CDataFormat::FormatDistance(c.value, c.unit), c.text) << c.value << c.unit;
        // Both time kinds write distances when a unit is given.
        EXPECT_EQ(
            CDataFormat(CDataFormat::RELATIVE_TIME, 0).Format(c.value, nullptr, false, c.unit),
            c.text);
        const std::time_t base = 0;
        EXPECT_EQ(CDataFormat(CDataFormat::REAL_TIME, 0).Format(c.value, &base, true, c.unit),
                  c.text);
    }
}

TEST(DataFormatTest, WallClockTimeAddsWholeSecondsToTheBase) {
    // A fixed zone so the calendar text does not depend on the machine.
    const char* zone = std::getenv("TZ");
    const std::string saved = zone != nullptr ? zone : "";
    setenv("TZ", "UTC", 1);
    tzset();
    std::tm base{};
    base.tm_year = 124; // 2024
    base.tm_mon = 2;
    base.tm_mday = 31;
    base.tm_hour = 23;
    base.tm_min = 59;
    base.tm_sec = 30;
    const std::time_t t = timegm(&base);
    const CDataFormat format(CDataFormat::REAL_TIME, 0);
    EXPECT_EQ(format.Format(45.9, &t, true), "24/04/01 00:00:15");
    EXPECT_EQ(format.Format(45.9, &t, false), "00:00:15");
    EXPECT_EQ(format.Format(-30.0, &t, false), "23:59:00");
    if (zone != nullptr)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(DataFormatTest, StoredFormIsKindThenDigitsLittleEndian) {
    const CDataFormat format(CDataFormat::SIGNIFICANT, 0x01020304);
    const std::string bytes = format.Store();
    EXPECT_EQ(bytes, std::string("\x02\x00\x04\x03\x02\x01", 6));
    CDataFormat read;
    EXPECT_TRUE(read.Load(bytes));
    EXPECT_EQ(read.GetKind(), CDataFormat::SIGNIFICANT);
    EXPECT_EQ(read.GetDigits(), 0x01020304);
    EXPECT_TRUE(read.Load(std::string("\xFF\xFF\xFE\xFF\xFF\xFF", 6)));
    EXPECT_EQ(read.GetKind(), -1);
    EXPECT_EQ(read.GetDigits(), -2);
    EXPECT_FALSE(read.Load("short"));
    EXPECT_EQ(read.GetDigits(), -2) << "a short form changes nothing";
}

TEST(DataFormatTest, TimeAxisDigitsFollowTheGridStep) {
    const std::pair<double, int> cases[] = {{3600.0, 0}, {1.0, 0},  {0.5, 1},   {0.1, 1},
                                            {0.05, 2},   {0.01, 2}, {0.005, 3}, {0.0, 3}};
    for (const auto& [step, digits] : cases)
        EXPECT_EQ(CDataFormat::TimeDigitsForGrid(step), digits) << step;
    EXPECT_EQ(
        CDataFormat(CDataFormat::FRACTIONAL, CDataFormat::TimeDigitsForGrid(0.5)).Format(12.5),
        " 12.5");
}
