// Little-endian encoding of the protocol values.
#include "device/net/NetMessage.h"

#include <bit>
#include <cstring>

namespace {

bool PlainCardName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.size() <= CNetMessage::kMaxCardPathBytes &&
           name.find_first_of(std::string("\\/\0", 3)) == std::string::npos;
}

// The root, a single backslash, or plain names each between two backslashes.
bool CardFolderPath(const std::string& path) {
    if (path.empty() || path.size() > CNetMessage::kMaxCardPathBytes || path.front() != '\\' ||
        path.back() != '\\')
        return false;
    for (std::size_t start = 1; start < path.size();) {
        const std::size_t end = path.find('\\', start);
        if (!PlainCardName(path.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

void CNetMessage::AppendFrame(std::vector<std::uint8_t>& stream) const {
    const auto size = static_cast<std::uint32_t>(m_bytes.size());
    for (int shift = 0; shift < 32; shift += 8)
        stream.push_back(static_cast<std::uint8_t>(size >> shift));
    stream.insert(stream.end(), m_bytes.begin(), m_bytes.end());
}

CNetMessage& CNetMessage::PutU8(std::uint8_t value) {
    m_bytes.push_back(value);
    return *this;
}

CNetMessage& CNetMessage::PutU32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    return *this;
}

CNetMessage& CNetMessage::PutDouble(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    PutU32(static_cast<std::uint32_t>(bits));
    return PutU32(static_cast<std::uint32_t>(bits >> 32));
}

CNetMessage& CNetMessage::PutBlock(const void* data, std::size_t size) {
    PutU32(static_cast<std::uint32_t>(size));
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    return *this;
}

CNetMessage& CNetMessage::PutBlock(const std::vector<std::uint8_t>& block) {
    return PutBlock(block.data(), block.size());
}

CNetMessage& CNetMessage::Append(const CNetMessage& other) {
    m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
    return *this;
}

CNetMessage& CNetMessage::Put(const LinkAcqCondition& condition) {
    PutText(condition.baseFileName).PutText(condition.rate);
    return PutI32(condition.preTime).PutI32(condition.postTime);
}

CNetMessage& CNetMessage::Put(const LinkChannelRecord& record) {
    PutI32(record.enabled).PutText(record.range).PutText(record.filter);
    PutText(record.fvInput).PutText(record.fvMode);
    PutI32(record.fvDivider).PutI32(record.fvSmoothing).PutU32(record.diMask);
    PutI32(record.lvlStTrg).PutDouble(record.lvlStTrgVal);
    return PutI32(record.status);
}

CNetMessage& CNetMessage::Put(const std::vector<LinkChannelRecord>& records) {
    PutU32(static_cast<std::uint32_t>(records.size()));
    for (const LinkChannelRecord& record : records)
        Put(record);
    return *this;
}

CNetMessage& CNetMessage::Put(const std::vector<LinkCardFolder>& folders) {
    PutU32(static_cast<std::uint32_t>(folders.size()));
    for (const LinkCardFolder& folder : folders) {
        PutText(folder.path).PutU32(static_cast<std::uint32_t>(folder.files.size()));
        for (const LinkCardFile& file : folder.files) {
            const LinkCardTime& t = file.time;
            PutText(file.name);
            PutI32(t.year).PutI32(t.month).PutI32(t.day).PutI32(t.hour).PutI32(t.minute);
            PutI32(t.second).PutU32(static_cast<std::uint32_t>(file.size));
            PutU32(static_cast<std::uint32_t>(file.size >> 32)).PutU32(file.attributes);
        }
    }
    return *this;
}

const std::uint8_t* CNetMessage::Take(std::size_t size) {
    if (!m_ok || m_bytes.size() - m_read < size) {
        m_ok = false;
        return nullptr;
    }
    const std::uint8_t* start = m_bytes.data() + m_read;
    m_read += size;
    return start;
}

std::uint8_t CNetMessage::GetU8() {
    const std::uint8_t* byte = Take(1);
    return byte ? *byte : 0;
}

std::uint32_t CNetMessage::GetU32() {
    const std::uint8_t* bytes = Take(4);
    if (!bytes)
        return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

double CNetMessage::GetDouble() {
    const std::uint64_t low = GetU32();
    const std::uint64_t high = GetU32();
    return std::bit_cast<double>(low | (high << 32));
}

std::string CNetMessage::GetText() {
    const std::uint32_t size = GetU32();
    const std::uint8_t* bytes = Take(size);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes), size) : std::string();
}

std::vector<std::uint8_t> CNetMessage::GetBlock() {
    const std::uint32_t size = GetU32();
    const std::uint8_t* bytes = Take(size);
    return bytes ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>();
}

void CNetMessage::Get(LinkAcqCondition& condition) {
    condition.baseFileName = GetText();
    condition.rate = GetText();
    condition.preTime = GetI32();
    condition.postTime = GetI32();
}

void CNetMessage::Get(LinkChannelRecord& record) {
    record.enabled = GetI32();
    record.range = GetText();
    record.filter = GetText();
    record.fvInput = GetText();
    record.fvMode = GetText();
    record.fvDivider = static_cast<std::int16_t>(GetI32());
    record.fvSmoothing = static_cast<std::int16_t>(GetI32());
    record.diMask = static_cast<std::uint16_t>(GetU32());
    record.lvlStTrg = GetI32();
    record.lvlStTrgVal = GetDouble();
    record.status = GetI32();
}

void CNetMessage::Get(std::vector<LinkChannelRecord>& records) {
    records.clear();
    const std::uint32_t count = GetCount(kMinRecordBytes);
    records.reserve(count);
    for (std::uint32_t i = 0; i < count && m_ok; ++i)
        Get(records.emplace_back());
}

std::uint32_t CNetMessage::GetCount(std::size_t itemBytes) {
    const std::uint32_t count = GetU32();
    // Sized by the items the bytes can hold, never by the count alone: each takes far more
    // memory once read than its bytes.
    if (m_ok && count > (m_bytes.size() - m_read) / itemBytes)
        m_ok = false;
    return m_ok ? count : 0;
}

void CNetMessage::Get(LinkCardFile& file) {
    file.name = GetText();
    LinkCardTime& t = file.time;
    for (std::int32_t* field : {&t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second})
        *field = GetI32();
    const std::uint64_t low = GetU32();
    file.size = low | (static_cast<std::uint64_t>(GetU32()) << 32);
    file.attributes = GetU32();
    m_ok = m_ok && PlainCardName(file.name);
}

void CNetMessage::Get(std::vector<LinkCardFolder>& folders) {
    folders.clear();
    const std::uint32_t count = GetCount(kMinCardFolderBytes);
    folders.reserve(count);
    for (std::uint32_t i = 0; i < count && m_ok; ++i) {
        LinkCardFolder& folder = folders.emplace_back();
        folder.path = GetText();
        m_ok = m_ok && CardFolderPath(folder.path);
        const std::uint32_t files = GetCount(kMinCardFileBytes);
        folder.files.reserve(files);
        for (std::uint32_t j = 0; j < files && m_ok; ++j)
            Get(folder.files.emplace_back());
    }
    if (!m_ok)
        folders.clear();
}
