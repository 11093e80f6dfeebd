// The payload of one protocol frame: values written in order and read back in the same order.
#pragma once

#include "framework/LinkLibrary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CNetMessage {
public:
    CNetMessage() = default;
    explicit CNetMessage(std::vector<std::uint8_t> payload) : m_bytes(std::move(payload)) {}

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> Release() && { return std::move(m_bytes); }
    // False once a read ran past the end or met a malformed value; every later read gives zero.
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_read == m_bytes.size(); }

    CNetMessage& PutU8(std::uint8_t value);
    CNetMessage& PutU32(std::uint32_t value);
    CNetMessage& PutI32(std::int32_t value) { return PutU32(static_cast<std::uint32_t>(value)); }
    CNetMessage& PutDouble(double value);
    CNetMessage& PutBlock(const void* data, std::size_t size);
    CNetMessage& PutText(const std::string& text) { return PutBlock(text.data(), text.size()); }
    CNetMessage& PutBlock(const std::vector<std::uint8_t>& block);
    // The other message's values follow this one's, without a count.
    CNetMessage& Append(const CNetMessage& other);
    CNetMessage& Put(const LinkAcqCondition& condition);
    CNetMessage& Put(const LinkChannelRecord& record);
    CNetMessage& Put(const std::vector<LinkChannelRecord>& records);
    template <std::size_t N> CNetMessage& Put(const std::array<std::int32_t, N>& values) {
        for (std::int32_t value : values)
            PutI32(value);
        return *this;
    }

    std::uint8_t GetU8();
    std::uint32_t GetU32();
    std::int32_t GetI32() { return static_cast<std::int32_t>(GetU32()); }
    double GetDouble();
    std::string GetText();
    std::vector<std::uint8_t> GetBlock();
    void Get(LinkAcqCondition& condition);
    void Get(LinkChannelRecord& record);
    void Get(std::vector<LinkChannelRecord>& records);
    template <std::size_t N> void Get(std::array<std::int32_t, N>& values) {
        for (std::int32_t& value : values)
            value = GetI32();
    }

private:
    // The next `size` bytes, or nullptr (and not Ok) when fewer are left.
    const std::uint8_t* Take(std::size_t size);

    std::vector<std::uint8_t> m_bytes;
    std::size_t m_read = 0;
    bool m_ok = true;
};
