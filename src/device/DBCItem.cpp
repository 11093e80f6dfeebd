// CAN signal fields as the modules and DCD files write them.
#include "device/DBCItem.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"

namespace {

// Field positions within the signal fields.
constexpr std::size_t kFactorField = 8;
constexpr std::size_t kOffsetField = 9;

std::string Digits(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digits += c;
    }
    return digits;
}

} // namespace

int CCanSignal::GetWordCount() const {
    return m_valueType == kInt32 || m_valueType == kUInt32 || m_valueType == kFloat32 ? 2 : 1;
}

std::string CCanSignal::GetValueTypeName() const {
    static constexpr const char* kNames[] = {"INT16", "UINT16", "INT32", "UINT32", "FLOAT32"};
    if (m_valueType >= kInt16 && m_valueType <= kFloat32)
        return kNames[m_valueType];
    return std::to_string(m_valueType);
}

std::string CCanSignal::FormatHead(int number) const {
    return FormatText("%d,%s,%s,%d,%d,%d,%d,%d,", number, m_msgId.c_str(), m_multiplex.c_str(),
                      m_msgLength, m_start, m_signed, m_bitLength, m_byteOrder);
}

std::string CCanSignal::FormatTail() const {
    return FormatText(",%s,%s,%d", m_name.c_str(), m_unit.c_str(), m_valueType);
}

void CCanSignal::SetCommonFields(const std::vector<std::string>& fields, std::size_t first) {
    const auto field = [&](std::size_t i) -> const std::string& { return fields[first + i]; };
    m_chNo = ReadInt32(field(0));
    m_msgId = field(1);
    m_multiplex = field(2);
    m_msgLength = ReadInt16(field(3));
    m_start = ReadInt16(field(4));
    m_signed = ReadInt32(field(5));
    m_bitLength = ReadInt16(field(6));
    m_byteOrder = ReadInt32(field(7));
    m_name = field(10);
    m_unit = field(11);
    m_valueType = ReadInt32(field(12));
}

std::string CDBCItem::FormatFields(int number) const {
    return FormatHead(number) + FormatText("%5.3f,%5.3f", m_factor, m_offset) + FormatTail();
}

bool CDBCItem::SetFields(const std::vector<std::string>& fields, std::size_t first) {
    if (fields.size() < first + kFieldCount)
        return false;
    SetCommonFields(fields, first);
    m_factor = ReadReal(fields[first + kFactorField]);
    m_offset = ReadReal(fields[first + kOffsetField]);
    return true;
}

std::string CDBCItem_G::FormatFields(int number) const {
    return FormatHead(number) + m_factor + "," + m_offset + FormatTail();
}

bool CDBCItem_G::SetFields(const std::vector<std::string>& fields, std::size_t first) {
    if (fields.size() < first + kFieldCount)
        return false;
    SetCommonFields(fields, first);
    m_factor = fields[first + kFactorField];
    m_offset = fields[first + kOffsetField];
    return true;
}

double CDBCItem_G::GetFactorValue() const {
    return ReadReal(m_factor);
}

double CDBCItem_G::GetOffsetValue() const {
    return ReadReal(m_offset);
}

template <class Item> bool ParseSignalListLine(const std::string& line, Item& item) {
    TextLines fields;
    CTextFile::SplitText(fields, ",", line);
    if (fields.size() < CCanSignal::kFieldCount)
        return false;
    fields[0] = Digits(fields[0]);
    return item.SetFields(fields, 0);
}

template bool ParseSignalListLine<CDBCItem>(const std::string&, CDBCItem&);
template bool ParseSignalListLine<CDBCItem_G>(const std::string&, CDBCItem_G&);
