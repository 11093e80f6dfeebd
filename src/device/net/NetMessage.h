// The payload of one protocol frame: values written in order and read back in the same order.
#pragma once

#include "framework/LinkLibrary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

class CNetMessage {
public:
    CNetMessage() = default;
    explicit CNetMessage(std::vector<std::uint8_t> payload) : m_bytes(std::move(payload)) {}
    explicit CNetMessage(std::span<const std::uint8_t> payload)
        : m_bytes(payload.begin(), payload.end()) {}

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    // False once a read ran past the end or met a malformed value; every later read gives zero.
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_read == m_bytes.size(); }
    // The bytes not read yet.
    std::span<const std::uint8_t> Rest() const {
        return std::span<const std::uint8_t>(m_bytes).subspan(m_read);
    }
    // Appends this message as one frame (its length, then its bytes) to a stream.
    void AppendFrame(std::vector<std::uint8_t>& stream) const;

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
    CNetMessage& Put(const std::vector<LinkCardFolder>& folders);
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
    void Get(std::int32_t& value) { value = GetI32(); }
    void Get(std::string& text) { text = GetText(); }
    void Get(std::vector<std::uint8_t>& block) { block = GetBlock(); }
    void Get(LinkAcqCondition& condition);
    void Get(LinkChannelRecord& record);
    // Holds only the records present in the message, whatever count it declares.
    void Get(std::vector<LinkChannelRecord>& records);
    // A card directory: folder paths and file names in the recorder's form (a path begins and
    // ends with a backslash and never climbs, a name is one plain name), sized like the records
    // by the bytes present; otherwise empty and not Ok.
    void Get(std::vector<LinkCardFolder>& folders);
    template <std::size_t N> void Get(std::array<std::int32_t, N>& values) {
        for (std::int32_t& value : values)
            value = GetI32();
    }

    // Reads the values into copies and hands them over only when the rest of the message is
    // exactly they: a cut message, or one carrying more, leaves `values` as they were.
    template <typename... Values> bool GetWhole(Values&... values) {
        std::tuple<Values...> read;
        std::apply([&](auto&... each) { (Get(each), ...); }, read);
        if (!Ok() || !AtEnd())
            return false;
        std::tie(values...) = std::move(read);
        return true;
    }

    // The fewest bytes a channel record takes: the counts of its four texts, six 32-bit numbers
    // and the trigger level.
    static constexpr std::size_t kMinRecordBytes = 4 * 4 + 6 * 4 + 8;

    // The fewest bytes a folder of a card directory takes: its path's count and at least one
    // backslash, and its file count; a file: its name's count and at least one letter, six time
    // fields, the 64-bit size and the attributes.
    static constexpr std::size_t kMinCardFolderBytes = 4 + 1 + 4;
    static constexpr std::size_t kMinCardFileBytes = 4 + 1 + 6 * 4 + 8 + 4;
    // The longest card path or name a directory may carry, as the library's path buffers.
    static constexpr std::size_t kMaxCardPathBytes = 260;

private:
    // A count of items each taking at least `itemBytes`, or not Ok when fewer bytes are left.
    std::uint32_t GetCount(std::size_t itemBytes);
    void Get(LinkCardFile& file);
    // The next `size` bytes, or nullptr (and not Ok) when fewer are left.
    const std::uint8_t* Take(std::size_t size);

    std::vector<std::uint8_t> m_bytes;
    std::size_t m_read = 0;
    bool m_ok = true;
};
