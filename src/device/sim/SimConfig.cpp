// Parser of the simulated recorders' configuration.
#include "device/sim/SimConfig.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "device/sim/SimCanModule.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <sstream>

namespace {

constexpr int kSlotCount = 8;
constexpr int kMaxChannels = 64;
constexpr std::size_t kMaxReplyBytes = 255; // a slot information reply, without its terminator

// A whole decimal number and nothing else.
bool ParseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && rest == end;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

// "ALL", "NONE" or "1-4,7" (1-based) into 0-based channel numbers.
std::string ParseEnabled(const std::string& text, int count, std::vector<int>& channels) {
    channels.clear();
    if (text == "ALL") {
        for (int channel = 0; channel < count; ++channel) {
            channels.push_back(channel);
        }
        return {};
    }
    if (text == "NONE") {
        return {};
    }
    TextLines pieces;
    for (const std::string& piece : CTextFile::SplitText(pieces, ",", text)) {
        TextLines bounds;
        CTextFile::SplitText(bounds, "-", piece);
        int first = 0;
        int last = 0;
        if (bounds.size() > 2 || !ParseInt(bounds[0], first) || !ParseInt(bounds.back(), last) ||
            first < 1 || last < first || last > count) {
            return "ON needs channel numbers 1.." + std::to_string(count) + ", not \"" + piece +
                   "\"";
        }
        for (int channel = first; channel <= last; ++channel) {
            channels.push_back(channel - 1);
        }
    }
    return {};
}

class CConfigReader {
public:
    std::string ReadLine(const std::string& line);
    std::string Finish();
    std::vector<CSimRecorderConfig> m_recorders;

private:
    std::string ReadRecorder(const std::vector<std::string>& words);
    std::string ReadSetting(const std::string& key, const std::vector<std::string>& words);
    std::string ReadSlot(const std::vector<std::string>& words);
    std::string ReadSlotItem(CSimSlotConfig& slot, const std::string& item, std::string& enabled);
    std::string ReadCanSignal(const std::vector<std::string>& words);
    std::string ReadFault(const std::vector<std::string>& words);
    std::string ReadInput(const std::vector<std::string>& words);
    CSimRecorderConfig& Current() { return m_recorders.back(); }
};

std::string CConfigReader::ReadLine(const std::string& line) {
    const std::vector<std::string> words = Words(line);
    if (words.empty() || words[0][0] == '#') {
        return {};
    }
    if (words[0] == "RECORDER") {
        return ReadRecorder(words);
    }
    if (m_recorders.empty()) {
        return words[0] + " before the first RECORDER line";
    }
    if (words[0] == "SLOT") {
        return ReadSlot(words);
    }
    if (words[0] == "CANSIG") {
        return ReadCanSignal(words);
    }
    if (words[0] == "FAULT") {
        return ReadFault(words);
    }
    if (words[0] == "INPUT") {
        return ReadInput(words);
    }
    return ReadSetting(words[0], words);
}

std::string CConfigReader::ReadRecorder(const std::vector<std::string>& words) {
    if (words.size() != 3) {
        return "RECORDER needs a name and an address";
    }
    if (!CSimConfig::IsIPv4Address(words[2])) {
        return "\"" + words[2] + "\" is not an IPv4 address";
    }
    for (const CSimRecorderConfig& other : m_recorders) {
        if (other.address == words[2]) {
            return "address " + words[2] + " given twice";
        }
    }
    CSimRecorderConfig recorder;
    recorder.name = words[1];
    recorder.address = words[2];
    recorder.signalSeed = ReadInt32(words[2].substr(words[2].rfind('.') + 1));
    m_recorders.push_back(recorder);
    return {};
}

std::string CConfigReader::ReadSetting(const std::string& key,
                                       const std::vector<std::string>& words) {
    if (words.size() != 2) {
        return key == "SEED" || key == "SYNC" || key == "RATE" || key == "CARD" ||
                       key == "CARD_KB" || key == "BALANCE_MS" || key == "CARDOP_MS"
                   ? key + " needs one value"
                   : "unknown keyword \"" + key + "\"";
    }
    const std::string& value = words[1];
    CSimRecorderConfig& recorder = Current();
    if (key == "SYNC") {
        static const std::map<std::string, int> kModes{
            {"SINGLE", 10}, {"MASTER", 11}, {"SLAVE", 12}};
        const auto mode = kModes.find(value);
        if (mode == kModes.end()) {
            return "SYNC must be SINGLE, MASTER or SLAVE";
        }
        recorder.syncMode = mode->second;
        return {};
    }
    if (key == "RATE") {
        if (!CSimConfig::IsRateText(value)) {
            return "\"" + value + "\" is not a sampling rate";
        }
        recorder.rate = value;
        return {};
    }
    if (key == "CARD") {
        recorder.card = value;
        return {};
    }
    std::map<std::string, int*> numbers{{"SEED", &recorder.signalSeed},
                                        {"CARD_KB", &recorder.cardKBytes},
                                        {"BALANCE_MS", &recorder.balanceMs},
                                        {"CARDOP_MS", &recorder.cardOpMs}};
    const auto number = numbers.find(key);
    if (number == numbers.end()) {
        return "unknown keyword \"" + key + "\"";
    }
    if (!ParseInt(value, *number->second) || *number->second < 0) {
        return key + " needs a whole number of at least 0, not \"" + value + "\"";
    }
    return {};
}

std::string CConfigReader::ReadSlot(const std::vector<std::string>& words) {
    CSimSlotConfig slot;
    if (words.size() < 2 || !ParseInt(words[1], slot.slot) || slot.slot < 1 ||
        slot.slot > kSlotCount) {
        return "SLOT needs a slot number 1..8";
    }
    for (const CSimSlotConfig& other : Current().slots) {
        if (other.slot == slot.slot) {
            return "slot " + words[1] + " given twice";
        }
    }
    std::string enabled = "ALL";
    for (std::size_t index = 2; index < words.size(); ++index) {
        if (std::string error = ReadSlotItem(slot, words[index], enabled); !error.empty()) {
            return error;
        }
    }
    if (slot.partNumber.empty() || slot.typeCode <= 0 || slot.channelCount <= 0) {
        return "SLOT needs PN=, TY= (above 0) and NCH= (1.." + std::to_string(kMaxChannels) + ")";
    }
    std::size_t replyBytes = 0;
    for (const auto& [key, value] : slot.items) {
        replyBytes += key.size() + value.size() + 2;
    }
    if (replyBytes > kMaxReplyBytes) {
        return "the range and filter items do not fit in one 256-byte reply";
    }
    if (std::string error = ParseEnabled(enabled, slot.channelCount, slot.enabledChannels);
        !error.empty()) {
        return error;
    }
    auto& slots = Current().slots;
    slots.insert(std::ranges::upper_bound(slots, slot.slot, {}, &CSimSlotConfig::slot), slot);
    return {};
}

std::string CConfigReader::ReadSlotItem(CSimSlotConfig& slot, const std::string& item,
                                        std::string& enabled) {
    static const std::set<std::string> kReported{"RV", "RS", "RG", "RF", "CF"};
    const std::size_t equals = item.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == item.size()) {
        return "slot item \"" + item + "\" is not KEY=value";
    }
    const std::string key = item.substr(0, equals);
    const std::string value = item.substr(equals + 1);
    if (key == "PN") {
        slot.partNumber = value;
    } else if (key == "TY") {
        if (!ParseInt(value, slot.typeCode) || slot.typeCode <= 0) {
            return "TY needs a type code above 0, not \"" + value + "\"";
        }
    } else if (key == "NCH") {
        if (!ParseInt(value, slot.channelCount) || slot.channelCount < 1 ||
            slot.channelCount > kMaxChannels) {
            return "NCH needs 1.." + std::to_string(kMaxChannels) + ", not \"" + value + "\"";
        }
    } else if (key == "ON") {
        enabled = value;
    } else if (key == "ACK") {
        slot.ackSetting = value;
    } else if (kReported.contains(key)) {
        slot.items[key] = value;
    } else {
        return "unknown slot item \"" + key + "\"";
    }
    return {};
}

std::string CConfigReader::ReadCanSignal(const std::vector<std::string>& words) {
    int slotNumber = 0;
    if (words.size() != 3 || !ParseInt(words[1], slotNumber)) {
        return "CANSIG needs a slot number and the signal's fields";
    }
    auto& slots = Current().slots;
    const auto slot = std::ranges::find(slots, slotNumber, &CSimSlotConfig::slot);
    if (slot == slots.end() || slot->typeCode < 10 || slot->typeCode > 11) {
        return "CANSIG names slot " + words[1] + ", which holds no CAN module";
    }
    TextLines fields;
    CTextFile::SplitText(fields, ",", words[2]);
    int valueType = 0;
    if (fields.size() != 12 || !ParseInt(fields[11], valueType) || valueType < 0 || valueType > 4) {
        return "CANSIG needs 12 fields ending in a value type 0..4";
    }
    const auto wordsOf = [](int type) { return type >= 2 && type <= 4 ? 2 : 1; };
    int used = wordsOf(valueType);
    for (const auto& signal : slot->canSignals) {
        used += wordsOf(ReadInt32(signal.back()));
    }
    if (used > CSimCanModule::kMaxWords) {
        return "the CAN database of slot " + words[1] + " would take more than 56 data words";
    }
    slot->canSignals.push_back(fields);
    return {};
}

std::string CConfigReader::ReadFault(const std::vector<std::string>& words) {
    CSimFaults& faults = Current().faults;
    const std::string kind = words.size() > 1 ? words[1] : "";
    int first = 0;
    int second = 0;
    if (kind == "REFUSE" && words.size() == 2) {
        faults.refuseConnection = true;
    } else if (kind == "BUSY" && words.size() == 2) {
        faults.busy = true;
    } else if (kind == "DROP_AFTER" && words.size() == 3 && ParseInt(words[2], first) &&
               first >= 0) {
        faults.dropAfterArmedSeconds = first;
    } else if (kind == "DELAY" && words.size() == 3 && ParseInt(words[2], first) && first >= 0) {
        faults.answerDelayMs = first;
    } else if (kind == "NAK" && words.size() == 3) {
        faults.nakCommands.push_back(words[2]);
    } else if (kind == "ERROR" && words.size() == 4 && ParseInt(words[2], first) &&
               ParseInt(words[3], second) && second != 1) {
        faults.operationErrors[first] = second;
    } else {
        return "FAULT must be REFUSE, BUSY, DROP_AFTER <s>, DELAY <ms>, NAK <command> or "
               "ERROR <ordinal> <code other than 1>";
    }
    return {};
}

std::string CConfigReader::ReadInput(const std::vector<std::string>& words) {
    if (words.size() < 3 || words.size() > 4) {
        return "INPUT needs <slot>-<channel>, a value and optionally the noise";
    }
    TextLines place;
    CTextFile::SplitText(place, "-", words[1]);
    int slotNumber = 0;
    int channel = 0;
    const auto& slots = Current().slots;
    const bool numbers =
        place.size() == 2 && ParseInt(place[0], slotNumber) && ParseInt(place[1], channel);
    const auto slot = std::ranges::find(slots, slotNumber, &CSimSlotConfig::slot);
    if (!numbers || slot == slots.end() || channel < 1 || channel > slot->channelCount) {
        return "INPUT names \"" + words[1] + "\", which is no channel of a SLOT above";
    }
    CSimInput input;
    const std::string noise = words.size() == 4 ? words[3] : "0";
    if (std::string error = CSimConfig::ParseInput(words[2], noise, input); !error.empty()) {
        return "INPUT " + error;
    }
    Current().inputs[{slotNumber, channel - 1}] = input;
    return {};
}

std::string CConfigReader::Finish() {
    if (m_recorders.empty()) {
        return "no RECORDER line";
    }
    return {};
}

} // namespace

bool CSimConfig::IsIPv4Address(const std::string& text) {
    TextLines parts;
    CTextFile::SplitText(parts, ".", text);
    return parts.size() == 4 && std::ranges::all_of(parts, [](const std::string& part) {
               int value = 0;
               return part.size() <= 3 && ParseInt(part, value) && value >= 0 && value <= 255;
           });
}

bool CSimConfig::IsRateText(const std::string& text) {
    static const std::set<std::string> kRates{
        "0.1Hz",   "0.2Hz",  "0.5Hz",   "1Hz",     "2Hz",     "5Hz",     "10Hz",
        "20Hz",    "50Hz",   "100Hz",   "200Hz",   "500Hz",   "1kHz",    "2kHz",
        "5kHz",    "10kHz",  "20kHz",   "50kHz",   "100kHz",  "200kHz",  "EXT",
        "1.28Hz",  "2.56Hz", "5.12Hz",  "12.8Hz",  "25.6Hz",  "51.2Hz",  "128Hz",
        "256Hz",   "512Hz",  "1.28kHz", "2.56kHz", "5.12kHz", "12.8kHz", "25.6kHz",
        "51.2kHz", "128kHz", "256kHz",  "3Hz",     "30Hz",    "300Hz",   "3kHz"};
    return kRates.contains(text);
}

bool CSimConfig::ParseNumber(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && rest == end && std::isfinite(value);
}

std::string CSimConfig::ParseInput(const std::string& value, const std::string& noise,
                                   CSimInput& input) {
    if (!ParseNumber(value, input.value)) {
        return "value \"" + value + "\" is not a number";
    }
    if (!ParseNumber(noise, input.noise) || input.noise < 0.0) {
        return "noise \"" + noise + "\" is not a number of at least 0";
    }
    return {};
}

std::string CSimConfig::Parse(const std::string& text) {
    CConfigReader reader;
    TextLines lines;
    CTextFile::SplitText(lines, "\n", text);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        std::string line = lines[index];
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (std::string error = reader.ReadLine(line); !error.empty()) {
            return "line " + std::to_string(index + 1) + ": " + error;
        }
    }
    if (std::string error = reader.Finish(); !error.empty()) {
        return error;
    }
    m_recorders = std::move(reader.m_recorders);
    return {};
}

std::string CSimConfig::Load(const std::string& path) {
    TextLines lines;
    if (std::string error = CTextFile::ReadTextLines(path, lines); !error.empty()) {
        return error;
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return Parse(text);
}
