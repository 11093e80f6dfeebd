#include "records/RecordHeader.h"

#include "conditions/TextNumbers.h"

#include <cmath>

namespace {

// At 0.1 Hz the recorder can keep one frame in three or six.
double SubSamplingFactor(const CRecCnd& condition) {
    if (condition.GetRateHz() != 0.1)
        return 1.0;
    return condition.m_subSamp == 1 ? 3.0 : condition.m_subSamp == 2 ? 6.0 : 1.0;
}

// The channel's own number when it has one, else the digits of slot and 0-based channel.
int SeriesNumber(const CChCnd& channel) {
    if (channel.m_monitorNo > 0)
        return channel.m_monitorNo;
    const std::string digits = FormatText("%d%d", channel.m_slot, channel.m_channel);
    return static_cast<std::int16_t>(ReadWholeNumber(digits));
}

// The unit, else what follows the number of the range text, else one blank.
std::string UnitText(const CChCnd& channel) {
    if (!channel.m_phyUnit.empty())
        return channel.m_phyUnit;
    const std::string& range = channel.m_range;
    std::size_t pos = range.find_first_not_of(' ');
    if (pos == std::string::npos)
        return " ";
    pos = range.find_first_not_of("0123456789.", pos);
    return pos == std::string::npos ? " " : range.substr(pos);
}

// |numerator| / |denominator - offset| when both are non-zero, else 1.
double ScaleFactor(double numerator, double denominator, double offset) {
    const double difference = denominator - offset;
    if (numerator == 0.0 || difference == 0.0)
        return 1.0;
    return std::fabs(numerator) / std::fabs(difference);
}

void Join(std::string& list, const std::string& entry) {
    if (!list.empty())
        list += ',';
    list += entry;
}

} // namespace

std::string CRecordHeader::Comment1Line(const CRecCnd& master) {
    return "COMMENT1 " + master.m_memo;
}

std::string CRecordHeader::Comment2Line(const CRecCnd& master) {
    return "COMMENT2 " + master.m_memo2;
}

std::string CRecordHeader::Comment3Line(const CRecCnd& master) {
    return "COMMENT3 " + master.m_testInfo[0] + "," + master.m_testInfo[1] + "," +
           master.m_testInfo[2];
}

void CRecordHeader::Describe(const std::vector<CRecCnd>& conditions, int masterIndex,
                             const std::string& comment) {
    *this = CRecordHeader();
    const CRecCnd& master = conditions[static_cast<std::size_t>(masterIndex)];
    const double rate = master.GetRateHz();
    m_rowSeconds = rate > 0.0 ? SubSamplingFactor(master) / rate : 0.0;
    m_rateLine =
        rate >= 1.0 ? FormatText("RATE %5.0f", rate) : FormatText("INTERVAL %5.3f", m_rowSeconds);
    m_comment = comment;
    m_comment1 = Comment1Line(master);
    m_comment2 = Comment2Line(master);
    m_comment3 = Comment3Line(master);
    m_device = !conditions.empty() && conditions.front().m_secondModel ? "ZT500" : "ZT300";
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        const CRecCnd& condition = conditions[i];
        const std::string prefix = conditions.size() < 2                ? std::string()
                                   : static_cast<int>(i) == masterIndex ? std::string("(M)")
                                                                        : std::string("(S)");
        for (const CChCnd& channel : condition.m_channels) {
            if (channel.m_enabled)
                DescribeChannel(channel, prefix);
        }
        for (const CCalcChCnd& channel : condition.m_calcChannels) {
            if (condition.m_calc && channel.m_enabled)
                DescribeCalcChannel(channel, prefix);
        }
        m_wordsPerRow += condition.CountSampleWords(true);
    }
}

void CRecordHeader::AddSeries(const std::string& series, const std::string& slope,
                              const std::string& offset, const std::string& unit) {
    Join(m_series, series);
    Join(m_slopes, slope);
    Join(m_offsets, offset);
    Join(m_units, unit);
}

void CRecordHeader::DescribeChannel(const CChCnd& channel, const std::string& namePrefix) {
    const int n = SeriesNumber(channel);
    const double unitPerCount = channel.GetUnitPerCount();
    const double ampOffset = channel.GetAmpOffset();
    const double f =
        channel.IsCanType() ? 1.0 : ScaleFactor(channel.m_phy1, channel.m_amp1, ampOffset);
    const double offset = -(channel.GetBalanceCorrection() * unitPerCount + ampOffset * f);
    const bool twoWords = channel.m_wordsPerSample == 2;
    AddSeries(FormatText(twoWords ? "CH_%d,CH_%d(2)" : "CH_%d", n, n),
              FormatText(twoWords ? "%e,1" : "%e", unitPerCount),
              FormatText(twoWords ? "%e,0" : "%e", offset),
              UnitText(channel) + (twoWords ? ", " : ""));

    const std::string name = namePrefix + channel.GetDisplayName();
    std::string line =
        FormatText("CH%d RANGE=%s,FILTER=%s,NAME=%s,MIN=%5.3f,MAX=%5.3f,FMT=%d", n,
                   channel.m_range.c_str(), channel.m_filter.c_str(), name.c_str(),
                   channel.m_sepChart.m_min, channel.m_sepChart.m_max, channel.m_dataType);
    if (channel.m_amp2 != 0.0) {
        const double g = ScaleFactor(channel.m_phy2, channel.m_amp2, ampOffset);
        line += FormatText(",PCAL=%5.3f,MCAL=%e", channel.m_amp1,
                           channel.GetRangeValue() * CChCnd::kRangePerCount * g);
    }
    m_channelLines.push_back(line);
    if (twoWords) {
        m_channelLines.push_back(FormatText("CH%d(2) RANGE=%s,FILTER=%s,NAME=%s", n,
                                            channel.m_range.c_str(), channel.m_filter.c_str(),
                                            name.c_str()));
    }
}

void CRecordHeader::DescribeCalcChannel(const CCalcChCnd& channel, const std::string& namePrefix) {
    const int n = SeriesNumber(channel);
    const double unitPerCount = channel.GetUnitPerCount();
    AddSeries(FormatText("CH_%d", n), FormatText("%e", unitPerCount),
              FormatText("%e", channel.m_scaleHigh - unitPerCount * CChCnd::kFullScaleCounts),
              UnitText(channel));
    const std::string name = namePrefix + channel.GetDisplayName();
    m_channelLines.push_back(FormatText("CH%d RANGE=%s,NAME=%s,MIN=%5.3f,MAX=%5.3f", n,
                                        channel.m_range.c_str(), name.c_str(),
                                        channel.m_sepChart.m_min, channel.m_sepChart.m_max));
}

void CRecordHeader::FormatLines(TextLines& lines, const RecordFileFacts& file,
                                const CMarkList& marks) const {
    std::string dataset = file.headerName;
    for (char& c : dataset) {
        if (c == '.')
            c = '_';
    }
    const LocalTime& t = file.start;
    const unsigned long rows = static_cast<unsigned long>(file.rows);
    lines.clear();
    lines.push_back("DATASET " + dataset);
    lines.push_back("VERSION 1");
    lines.push_back(FormatText("DATE %02d-%02d-%04d", t.month, t.day, t.year));
    lines.push_back("TIME " + FormatTimeText(t));
    lines.push_back(m_rateLine);
    if (!m_comment.empty())
        lines.push_back("COMMENT0 " + m_comment);
    lines.push_back(m_comment1);
    lines.push_back(m_comment2);
    lines.push_back(m_comment3);
    lines.push_back("SERIES " + m_series);
    lines.push_back("SLOPE " + m_slopes);
    lines.push_back("Y_OFFSET " + m_offsets);
    lines.push_back("VERT_UNITS " + m_units);
    lines.push_back(FormatText("NUM_SERIES %i", m_wordsPerRow));
    lines.push_back("HORZ_UNITS Sec");
    lines.push_back("STORAGE_MODE INTERLACED");
    lines.push_back("FILE_TYPE INTEGER");
    if (file.preRows > 0) {
        const unsigned long before = file.preRows - 1;
        lines.push_back(FormatText("X_OFFSET -%5.3f,%lu", before * m_rowSeconds, before));
    } else {
        lines.push_back("X_OFFSET 0");
    }
    lines.push_back(FormatText("NUM_SAMPS %lu", rows));
    lines.push_back("FILENAME " + file.dataName);
    marks.FormatLines(lines, file.firstPosition, file.endPosition, file.preRows);
    lines.push_back("DATA");
    lines.push_back("DEVICE " + m_device);
    lines.push_back(FormatText("END %lu", rows));
    lines.insert(lines.end(), m_channelLines.begin(), m_channelLines.end());
}
