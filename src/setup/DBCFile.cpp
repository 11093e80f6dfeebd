// DBC files into signal pages. The lines that matter are messages ("BO_"), their signals ("SG_")
// and signal value types ("SIG_VALTYPE_"); everything else is passed over, including strings of
// other statements (comments mostly) that run over several lines.
#include "setup/DBCFile.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>
#include <type_traits>
#include <unordered_map>

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The largest signal of a CAN FD message of 64 bytes.
constexpr std::int64_t kLargestBit = 511;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string_view Trim(std::string_view text, std::string_view characters = kBlanks) {
    const std::size_t first = text.find_first_not_of(characters);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

std::string_view TrimLeft(std::string_view text, std::string_view characters) {
    const std::size_t first = text.find_first_not_of(characters);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRight(std::string_view text, std::string_view characters) {
    const std::size_t last = text.find_last_not_of(characters);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// The keyword as a whole word at the start of the line: "BO_TX_BU_" is no message.
bool IsStatement(std::string_view line, std::string_view keyword) {
    return line.starts_with(keyword) &&
           (line.size() == keyword.size() ||
            kBlanks.find(line[keyword.size()]) != std::string_view::npos);
}

std::vector<std::string_view> SplitBlanks(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t pos = text.find_first_not_of(kBlanks);
    while (pos != std::string_view::npos) {
        const std::size_t end = text.find_first_of(kBlanks, pos);
        tokens.push_back(text.substr(pos, end - pos));
        pos = text.find_first_not_of(kBlanks, end);
    }
    return tokens;
}

std::string Digits(std::string_view text) {
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits),
                 [](char c) { return c >= '0' && c <= '9'; });
    return digits;
}

bool IsDigits(std::string_view text) {
    return !text.empty() && Digits(text).size() == text.size();
}

bool IsNumber(std::string_view text) {
    text = Trim(text);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && Lower(a) == Lower(b);
}

// Names and units travel in comma-separated signal lines; a comma in them would shift every
// field after it.
std::string WithoutCommas(std::string_view text) {
    std::string clean(text);
    std::replace(clean.begin(), clean.end(), ',', ';');
    return clean;
}

// Whether a string is still open at the end of the line; a backslash escapes the next character
// of a string.
bool EndsInsideString(std::string_view line, bool inside) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (inside && line[i] == '\\')
            ++i;
        else if (line[i] == '"')
            inside = !inside;
    }
    return inside;
}

// The four parts of a signal definition after its colon: bit position, "(factor,offset)",
// "[minimum|maximum]" and the quoted unit. A bracketed or quoted part runs to its closing
// character, so blanks inside it do not cut it; otherwise parts end at blanks.
std::vector<std::string_view> SignalParts(std::string_view text) {
    static constexpr char kOpen[] = {'\0', '(', '[', '"'};
    static constexpr char kClose[] = {'\0', ')', ']', '"'};
    std::vector<std::string_view> parts;
    std::size_t pos = text.find_first_not_of(kBlanks);
    for (std::size_t part = 0; part < 4 && pos != std::string_view::npos; ++part) {
        std::size_t end = text.find_first_of(kBlanks, pos);
        if (part > 0 && text[pos] == kOpen[part]) {
            const std::size_t close = text.find(kClose[part], pos + 1);
            end = close == std::string_view::npos ? std::string_view::npos : close + 1;
        }
        parts.push_back(text.substr(pos, end - pos));
        pos = end == std::string_view::npos ? end : text.find_first_not_of(kBlanks, end);
    }
    return parts;
}

template <class Item> constexpr bool kKindG = std::is_same_v<Item, CDBCItem_G>;

// The value type of a signal of `size` bits, or false when the module kind does not take it.
template <class Item> bool ValueTypeOf(std::int64_t size, bool isSigned, std::int32_t& type) {
    if constexpr (kKindG<Item>) {
        if (size > 32)
            return false;
        type = size <= 16 ? (isSigned ? CCanSignal::kInt16 : CCanSignal::kUInt16)
                          : (isSigned ? CCanSignal::kInt32 : CCanSignal::kUInt32);
    } else if (size < 16) {
        type = CCanSignal::kInt16;
    } else if (size == 16) {
        type = isSigned ? CCanSignal::kInt16 : CCanSignal::kUInt16;
    } else if (size == 32) {
        type = isSigned ? CCanSignal::kInt32 : CCanSignal::kUInt32;
    } else {
        return false;
    }
    return true;
}

template <class Item> int WordsOf(std::int64_t size) {
    if constexpr (kKindG<Item>)
        return size >= 17 ? 2 : 1;
    else
        return size >= 32 ? 2 : 1;
}

// Module K addresses a signal by its start byte counted from 1; module G keeps the start bit.
template <class Item> std::int16_t StartOf(std::int64_t startBit, std::int32_t byteOrder) {
    if constexpr (kKindG<Item>)
        return static_cast<std::int16_t>(startBit);
    else
        return static_cast<std::int16_t>(byteOrder == 1 ? startBit / 8 + 1 : (startBit + 1) / 8);
}

template <class Item> void SetScale(Item& item, std::string_view factor, std::string_view offset) {
    if constexpr (kKindG<Item>) {
        item.m_factor = Trim(factor);
        if (!offset.empty())
            item.m_offset = Trim(offset);
    } else {
        item.m_factor = ReadReal(factor);
        item.m_offset = ReadReal(offset);
    }
}

// The message whose signals follow.
struct Message {
    std::string id;
    std::string name;
    std::int64_t length = 0;
};

template <class Page> class CParser {
    using Item = typename decltype(Page::m_items)::value_type;

public:
    CParser(Page& page, CDbcLeftOut& leftOut) : m_page(page), m_leftOut(leftOut) {
        m_page.Clear();
        m_leftOut = CDbcLeftOut();
    }

    void Parse(std::string_view text) {
        if (text.starts_with(kByteOrderMark))
            text.remove_prefix(kByteOrderMark.size());
        bool inString = false;
        for (std::string_view line : CDBCFile::SplitLines(text)) {
            line = Trim(line);
            if (inString)
                inString = EndsInsideString(line, true);
            else if (IsStatement(line, "BO_"))
                ReadMessage(Trim(line.substr(3)));
            else if (IsStatement(line, "SG_"))
                ReadSignal(Trim(line.substr(3)));
            else if (IsStatement(line, "SIG_VALTYPE_"))
                m_valueTypes.push_back(Trim(line.substr(12)));
            else
                inString = EndsInsideString(line, false);
        }
        ApplyValueTypes();
    }

private:
    void ReadMessage(std::string_view text) {
        // A message line that does not read ends the previous message too, so that its signals
        // are not taken for the previous message's.
        m_message = Message();
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos)
            return;
        const std::vector<std::string_view> left = SplitBlanks(text.substr(0, colon));
        const std::vector<std::string_view> right = SplitBlanks(text.substr(colon + 1));
        // Ids are decimal; anything else would break the comma-separated signal lines.
        if (left.size() < 2 || right.empty() || !IsDigits(left[0]))
            return;
        const std::int64_t length = ReadWholeNumber(right.front());
        if (length > std::numeric_limits<std::int16_t>::max())
            return;
        m_message = {std::string(left[0]), std::string(left[1]), length};
        if (EqualNoCase(left[1], "CRO"))
            m_page.m_croId = m_message.id;
        else if (EqualNoCase(left[1], "DTO"))
            m_page.m_dtoId = m_message.id;
    }

    void ReadSignal(std::string_view text) {
        if (m_message.length < 1) {
            ++m_leftOut.m_withoutMessage;
            return;
        }
        Item item;
        std::int64_t size = 0;
        if (!ReadSignalFields(text, item, size)) {
            ++m_leftOut.m_unreadable;
            return;
        }
        if (!ValueTypeOf<Item>(size, item.m_signed != 0, item.m_valueType)) {
            ++m_leftOut.m_bySize[static_cast<int>(size)];
            return;
        }
        item.m_chNo = m_channel;
        m_channel += WordsOf<Item>(size);
        item.m_msgId = m_message.id;
        item.m_msgName = m_message.name;
        item.m_msgLength = static_cast<std::int16_t>(m_message.length);
        m_page.m_items.push_back(std::move(item));
    }

    // Everything but the value type; false when the line is not of the signal form.
    static bool ReadSignalFields(std::string_view text, Item& item, std::int64_t& size) {
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos)
            return false;
        const std::vector<std::string_view> left = SplitBlanks(text.substr(0, colon));
        const std::vector<std::string_view> parts = SignalParts(text.substr(colon + 1));
        if (left.empty() || parts.size() < 4)
            return false;
        item.m_name = WithoutCommas(left[0]);
        if (left.size() > 1 && !Digits(left[1]).empty())
            item.m_multiplex = Digits(left[1]);
        if (!ReadBitPosition(parts[0], item, size))
            return false;
        const std::string_view scale = TrimRight(TrimLeft(parts[1], " ("), ") ");
        const std::size_t comma = scale.find(',');
        const std::string_view factor = scale.substr(0, comma);
        const std::string_view offset =
            comma == std::string_view::npos ? std::string_view() : scale.substr(comma + 1);
        if (!IsNumber(factor) || (comma != std::string_view::npos && !IsNumber(offset)))
            return false;
        SetScale(item, factor, offset);
        const std::string_view limits = TrimRight(TrimLeft(parts[2], " ["), "] ");
        const std::size_t bar = limits.find('|');
        item.m_min = ReadReal(limits.substr(0, bar));
        if (bar != std::string_view::npos)
            item.m_max = ReadReal(limits.substr(bar + 1));
        item.m_unit = WithoutCommas(Trim(parts[3], "\""));
        return true;
    }

    // "start|size@order sign", for example "24|16@1+".
    static bool ReadBitPosition(std::string_view text, Item& item, std::int64_t& size) {
        const std::size_t bar = text.find('|');
        const std::size_t at = text.find('@', bar);
        if (bar == std::string_view::npos || at == std::string_view::npos || at + 3 > text.size())
            return false;
        const std::string_view start = text.substr(0, bar);
        const std::string_view bits = text.substr(bar + 1, at - bar - 1);
        const char order = text[at + 1];
        const char sign = text[at + 2];
        if (!IsDigits(start) || !IsDigits(bits) || (order != '0' && order != '1') ||
            (sign != '+' && sign != '-'))
            return false;
        const std::int64_t startBit = ReadWholeNumber(start);
        size = ReadWholeNumber(bits);
        if (startBit > kLargestBit || size < 1 || size > kLargestBit + 1)
            return false;
        item.m_startBit = static_cast<std::int32_t>(startBit);
        item.m_byteOrder = order - '0';
        item.m_signed = sign == '-' ? 1 : 0;
        item.m_bitLength = static_cast<std::int16_t>(size);
        item.m_start = StartOf<Item>(startBit, item.m_byteOrder);
        return true;
    }

    // A value-type line makes its signal a 32-bit float whatever type number it gives; only a
    // signal of 32 bits can be one.
    void ApplyValueTypes() {
        if (m_valueTypes.empty())
            return;
        std::unordered_map<std::string, std::vector<Item*>> byKey;
        for (Item& item : m_page.m_items) {
            if (item.m_bitLength == 32)
                byKey[Lower(item.m_msgId) + '\n' + Lower(item.m_name)].push_back(&item);
        }
        for (std::string_view line : m_valueTypes) {
            const std::vector<std::string_view> fields = SplitBlanks(line);
            if (fields.size() < 2)
                continue;
            const auto found =
                byKey.find(Lower(fields[0]) + '\n' + Lower(TrimRight(fields[1], ":")));
            if (found == byKey.end())
                continue;
            for (Item* item : found->second)
                item->m_valueType = CCanSignal::kFloat32;
        }
    }

    Page& m_page;
    CDbcLeftOut& m_leftOut;
    Message m_message;
    int m_channel = 1;
    std::vector<std::string_view> m_valueTypes;
};

template <class Page>
std::string LoadPage(const std::string& path, Page& page, CDbcLeftOut& leftOut) {
    std::string content;
    if (std::string message = CDBCFile::ReadWhole(path, content); !message.empty())
        return message;
    try {
        Page read;
        CDbcLeftOut readLeftOut;
        CParser<Page>(read, readLeftOut).Parse(content);
        page = std::move(read);
        leftOut = std::move(readLeftOut);
    } catch (const std::bad_alloc&) {
        return CTextFile::kInsufficientMemory;
    }
    return {};
}

} // namespace

int CDbcLeftOut::Count() const {
    int count = m_withoutMessage + m_unreadable;
    for (const auto& [size, signals] : m_bySize)
        count += signals;
    return count;
}

std::string CDbcLeftOut::Describe() const {
    const auto signals = [](int n) {
        return std::to_string(n) + (n == 1 ? " signal" : " signals");
    };
    std::vector<std::string> parts;
    if (!m_bySize.empty()) {
        int count = 0;
        std::string sizes;
        for (const auto& [size, n] : m_bySize) {
            count += n;
            sizes += (sizes.empty() ? "" : ", ") + std::to_string(size);
        }
        parts.push_back(signals(count) + " of " + sizes + " bits left out");
    }
    if (m_withoutMessage > 0)
        parts.push_back(signals(m_withoutMessage) + " outside a message left out");
    if (m_unreadable > 0)
        parts.push_back(
            std::to_string(m_unreadable) +
            (m_unreadable == 1 ? " unreadable signal line" : " unreadable signal lines") +
            " skipped");
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

std::string CDBCFile::Load(const std::string& path, CDBCData& page, CDbcLeftOut& leftOut) {
    return LoadPage(path, page, leftOut);
}

std::string CDBCFile::Load(const std::string& path, CDBCData_G& page, CDbcLeftOut& leftOut) {
    return LoadPage(path, page, leftOut);
}

void CDBCFile::Parse(std::string_view text, CDBCData& page, CDbcLeftOut& leftOut) {
    CParser<CDBCData>(page, leftOut).Parse(text);
}

void CDBCFile::Parse(std::string_view text, CDBCData_G& page, CDbcLeftOut& leftOut) {
    CParser<CDBCData_G>(page, leftOut).Parse(text);
}

std::string CDBCFile::ReadWhole(const std::string& path, std::string& content) {
    content.clear();
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return CTextFile::OpenFailureMessage(path, errno, FileDirection::Reading);
    try {
        char buffer[65536];
        for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
            content.append(buffer, n);
    } catch (const std::bad_alloc&) {
        content.clear();
        return CTextFile::kInsufficientMemory;
    }
    if (std::ferror(file.get())) {
        content.clear();
        return CTextFile::OpenFailureMessage(path, errno != 0 ? errno : EIO,
                                             FileDirection::Reading);
    }
    return {};
}

std::vector<std::string_view> CDBCFile::SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        lines.push_back(TrimRight(text.substr(pos, end - pos), "\r"));
        pos = end + 1;
    }
    return lines;
}
