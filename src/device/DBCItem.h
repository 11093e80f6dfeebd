// One signal of a CAN module's database, as the module stores it and as a DCD file lists it.
// The two module kinds differ in how factor and offset travel: the K module takes numbers with
// three decimals, the G module takes the texts exactly as written in the DBC file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The fields both module kinds share.
class CCanSignal {
public:
    // Value types; 2, 3 and 4 take two 16-bit data words.
    static constexpr std::int32_t kInt16 = 0;
    static constexpr std::int32_t kUInt16 = 1;
    static constexpr std::int32_t kInt32 = 2;
    static constexpr std::int32_t kUInt32 = 3;
    static constexpr std::int32_t kFloat32 = 4;
    // Signal fields of a list line or a module reply.
    static constexpr std::size_t kFieldCount = 13;

    int GetWordCount() const;
    // "INT16" .. "FLOAT32", or the number of a type the modules do not know.
    std::string GetValueTypeName() const;

    std::int32_t m_chNo = 0; // data-word position in the module's output, from 1
    std::string m_msgId;     // decimal text as in the DBC file
    std::string m_multiplex;
    std::int16_t m_msgLength = 0;
    std::string m_msgName;
    std::int16_t m_start = 0;
    std::int32_t m_signed = 1;
    std::int16_t m_bitLength = 0;
    std::int32_t m_byteOrder = 0; // 1 Intel, 0 Motorola
    std::string m_name;
    std::string m_unit;
    std::int32_t m_valueType = kInt16;
    double m_min = -10.0;
    double m_max = 10.0;
    std::int32_t m_selected = 0;
    // The start bit as the DBC file wrote it; -1 for a signal read from a module or a DCD file,
    // which carry only the start above. Not part of any line.
    std::int32_t m_startBit = -1;

protected:
    // The fields before factor and offset ("%d,%s,%s,%d,%d,%d,%d,%d,") with `number` first.
    std::string FormatHead(int number) const;
    std::string FormatTail() const; // ",%s,%s,%d": name, unit, value type
    // Fields [first, first + kFieldCount) of `fields`, except factor and offset.
    void SetCommonFields(const std::vector<std::string>& fields, std::size_t first);
};

// A signal of the K module.
class CDBCItem : public CCanSignal {
public:
    static constexpr const char* kKindName = "CAN_K";

    // "%d,%s,%s,%d,%d,%d,%d,%d,%5.3f,%5.3f,%s,%s,%d" with `number` in place of the channel.
    std::string FormatFields(int number) const;
    // False with fewer than kFieldCount fields from `first`.
    bool SetFields(const std::vector<std::string>& fields, std::size_t first);
    double GetFactorValue() const { return m_factor; }
    double GetOffsetValue() const { return m_offset; }

    double m_factor = 1.0;
    double m_offset = 0.0;
};

// A signal of the G module.
class CDBCItem_G : public CCanSignal {
public:
    static constexpr const char* kKindName = "CAN_G";

    CDBCItem_G() { m_multiplex = "-1"; }

    // "%d,%s,%s,%d,%d,%d,%d,%d,%s,%s,%s,%s,%d" with `number` in place of the channel.
    std::string FormatFields(int number) const;
    bool SetFields(const std::vector<std::string>& fields, std::size_t first);
    double GetFactorValue() const;
    double GetOffsetValue() const;

    std::string m_factor = "1.0";
    std::string m_offset = "0.0";
};

// The signal list line "Ch" + fields, with the item's own channel number.
template <class Item> std::string FormatSignalListLine(const Item& item) {
    return "Ch" + item.FormatFields(item.m_chNo);
}
// Reads a signal list line; the channel number is the digits of the first field.
template <class Item> bool ParseSignalListLine(const std::string& line, Item& item);
