#include "monitor/MaterialItem.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"

namespace {

std::string Flag(std::int32_t value) {
    return value != 0 ? "1" : "0";
}

std::string Whole(std::int32_t value) {
    return FormatText("%i", value);
}

std::string Real(double value) {
    return FormatText("%e", value);
}

} // namespace

std::string CMaterialItem::Format() const {
    std::string line = m_material + "," + m_id + "," + m_unit + "," + m_max + "," + m_min + "," +
                       m_damage + "," + m_life + "," + Flag(m_calChk) + "," + Real(m_calValue) +
                       "," + m_calUnit + "," + Whole(m_line) + "," + Real(m_sValue) + "," +
                       Whole(m_slope);
    for (const double value : m_sn)
        line += "," + Real(value);
    return line + "," + Flag(m_s2Chk) + "," + Flag(m_s3Chk) + "," + Flag(m_invalidChk) + "," +
           Whole(m_invalidCnt);
}

bool CMaterialItem::Parse(const std::string& line) {
    TextLines pieces;
    CTextFile::SplitText(pieces, ",", line);
    if (pieces.size() != kColumnCount)
        return false;
    m_material = pieces[0];
    m_id = pieces[1];
    m_unit = pieces[2];
    m_max = pieces[3];
    m_min = pieces[4];
    m_damage = pieces[5];
    m_life = pieces[6];
    m_calChk = ReadInt32(pieces[7]);
    m_calValue = ReadReal(pieces[8]);
    m_calUnit = pieces[9];
    m_line = ReadInt32(pieces[10]);
    m_sValue = ReadReal(pieces[11]);
    m_slope = ReadInt32(pieces[12]);
    for (std::size_t i = 0; i < m_sn.size(); ++i)
        m_sn[i] = ReadReal(pieces[13 + i]);
    m_s2Chk = ReadInt32(pieces[21]);
    m_s3Chk = ReadInt32(pieces[22]);
    m_invalidChk = ReadInt32(pieces[23]);
    m_invalidCnt = ReadInt32(pieces[24]);
    return true;
}
