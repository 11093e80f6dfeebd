// Records of any channel layout made in memory for the reading tests (header lines and rows of
// random words), the overview checked against every row, and the rows and header lines of the
// writing tests.
#pragma once

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "records/MinMaxPyramid.h"
#include "records/RecordReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

// Header lines of a record at 1 kHz whose channels have these data types (2, 3 and 4 take two
// words), numbers as recorded (slope 1, offset 0).
inline TextLines LayoutHeader(const std::vector<int>& dataTypes) {
    std::string series, slopes, offsets, units;
    TextLines channelLines;
    int words = 0;
    for (std::size_t i = 0; i < dataTypes.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const bool twoWords = dataTypes[i] >= 2 && dataTypes[i] <= 4;
        const char* comma = i == 0 ? "" : ",";
        series += FormatText(twoWords ? "%sCH_%d,CH_%d(2)" : "%sCH_%d", comma, n, n);
        slopes += twoWords ? FormatText("%s1,1", comma) : FormatText("%s1", comma);
        offsets += twoWords ? FormatText("%s0,0", comma) : FormatText("%s0", comma);
        units += twoWords ? FormatText("%sV, ", comma) : FormatText("%sV", comma);
        channelLines.push_back(
            FormatText("CH%d RANGE=10V,FILTER=OFF,NAME=c%d,MIN=-10.000,MAX=10.000,FMT=%d", n, n,
                       dataTypes[i]));
        if (twoWords)
            channelLines.push_back(FormatText("CH%d(2) RANGE=10V,FILTER=OFF,NAME=c%d", n, n));
        words += twoWords ? 2 : 1;
    }
    TextLines lines = {"DATASET Layout_hdr",
                       "VERSION 1",
                       "DATE 03-07-2026",
                       "TIME 09:05:04",
                       "RATE  1000",
                       "SERIES " + series,
                       "SLOPE " + slopes,
                       "Y_OFFSET " + offsets,
                       "VERT_UNITS " + units,
                       FormatText("NUM_SERIES %d", words),
                       "X_OFFSET 0",
                       "FILENAME Layout.dat",
                       "DATA",
                       "DEVICE ZT300"};
    lines.insert(lines.end(), channelLines.begin(), channelLines.end());
    return lines;
}

inline int LayoutWords(const std::vector<int>& dataTypes) {
    int words = 0;
    for (const int type : dataTypes)
        words += type >= 2 && type <= 4 ? 2 : 1;
    return words;
}

// Random words; the rows [nanFrom, nanTo) of every float channel hold NaN.
inline std::vector<std::uint16_t> RandomRows(const std::vector<int>& dataTypes, std::size_t rows,
                                             std::uint32_t seed, std::size_t nanFrom = 0,
                                             std::size_t nanTo = 0) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> word(0, 0xFFFF);
    const auto rowWords = static_cast<std::size_t>(LayoutWords(dataTypes));
    std::vector<std::uint16_t> words(rows * rowWords);
    for (std::uint16_t& w : words)
        w = static_cast<std::uint16_t>(word(random));
    for (std::size_t row = nanFrom; row < nanTo && row < rows; ++row) {
        std::size_t at = row * rowWords;
        for (const int type : dataTypes) {
            if (type == 4) {
                words[at] = 0;
                words[at + 1] = 0x7FC0;
            }
            at += type >= 2 && type <= 4 ? 2 : 1;
        }
    }
    return words;
}

// Rows of two words for the writing tests: row i holds i and -i.
inline std::vector<std::int16_t> TwoWordRows(int first, int count) {
    std::vector<std::int16_t> words;
    for (int i = first; i < first + count; ++i)
        words.insert(words.end(), {static_cast<std::int16_t>(i), static_cast<std::int16_t>(-i)});
    return words;
}

// The lines of a header file; the test fails where it cannot be read.
inline TextLines HeaderLines(const std::string& path) {
    TextLines lines;
    EXPECT_EQ(CTextFile::ReadTextLines(path, lines), "") << path;
    return lines;
}

// Min/max of a channel over rows [first, end), NaN left out, by reading every row.
inline NumberRange BruteForce(const CRecordReader& record, std::size_t channel, std::uint64_t first,
                              std::uint64_t end) {
    NumberRange range = NumberRange::Empty();
    for (std::uint64_t row = first; row < end; ++row) {
        const double value = record.Number(channel, row);
        if (!std::isnan(value))
            range.Include({value, value});
    }
    return range;
}

inline void ExpectBucketsMatch(const CMinMaxPyramid& pyramid, const CRecordReader& record) {
    for (std::size_t level = 0; level < pyramid.GetLevelCount(); ++level) {
        const std::uint64_t rowsPer = pyramid.GetBucketRows(level);
        const std::uint64_t buckets = pyramid.GetBuiltBuckets(level);
        ASSERT_EQ(buckets, pyramid.GetBucketCount(level));
        for (std::uint64_t b = 0; b < buckets; ++b) {
            for (std::size_t c = 0; c < pyramid.GetChannelCount(); ++c) {
                const NumberRange expected = BruteForce(
                    record, c, b * rowsPer, std::min((b + 1) * rowsPer, record.GetRowCount()));
                const NumberRange got = pyramid.Get(level, c, b, b + 1);
                ASSERT_EQ(got.min, expected.min)
                    << "level " << level << " bucket " << b << " ch " << c;
                ASSERT_EQ(got.max, expected.max)
                    << "level " << level << " bucket " << b << " ch " << c;
            }
        }
    }
}
