// Text commands of a simulated CAN module.
#include "device/sim/SimCanModule.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "framework/LinkLibrary.h"

#include <cctype>

namespace {

const std::string kAckReply(1, static_cast<char>(LinkCode::kAck));
const std::string kNakReply(1, static_cast<char>(LinkCode::kNak));

std::string Judge(bool accepted) {
    return accepted ? kAckReply : kNakReply;
}

// The command's keyword (letters, with the page digits of "CR"/"DT") and its argument.
void SplitCommand(const std::string& command, std::string& head, std::string& argument) {
    const std::size_t blank = command.find(' ');
    head = command.substr(0, blank);
    argument = blank == std::string::npos ? "" : command.substr(blank + 1);
}

// "CR0" / "DT12": the page number after a two-letter keyword, or -1.
int PageOf(const std::string& head, const char* keyword) {
    if (head.size() < 3 || !head.starts_with(keyword)) {
        return -1;
    }
    for (std::size_t index = 2; index < head.size(); ++index) {
        if (!std::isdigit(static_cast<unsigned char>(head[index]))) {
            return -1;
        }
    }
    return ReadInt32(head.substr(2));
}

// XCP status numbers: switched off, on (no procedure sent yet), timed out, sent completely.
constexpr int kNonXcp = 0;
constexpr int kXcpOn = 1;
constexpr int kXcpTimeOut = 2;
constexpr int kXcpSentCompletely = 3;

int WordsOf(int valueType) {
    return valueType >= 2 && valueType <= 4 ? 2 : 1;
}

} // namespace

CSimCanModule::CSimCanModule(bool kindG, std::vector<std::vector<std::string>> signals,
                             std::string ackSetting)
    : m_kindG(kindG), m_signals(std::move(signals)), m_ackSetting(std::move(ackSetting)) {}

bool CSimCanModule::IsQuery(const std::string& command) {
    std::string head;
    std::string argument;
    SplitCommand(command, head, argument);
    return head == "CRD" || head == "DBR" ||
           ((head == "XSW" || head == "XST" || head == "ACK") && argument.empty());
}

int CSimCanModule::GetValueType(int index) const {
    if (index < 0 || index >= GetSignalCount()) {
        return 0;
    }
    return ReadInt32(m_signals[index][kSignalFields - 1]);
}

int CSimCanModule::CountWords() const {
    int words = 0;
    for (int index = 0; index < GetSignalCount(); ++index) {
        words += WordsOf(GetValueType(index));
    }
    return words;
}

std::string CSimCanModule::ReadCount() const {
    return std::to_string(GetSignalCount()) + "," + std::to_string(CountWords());
}

// Channel number (the signal's first data word, from 1), the twelve stored fields, and the
// number of data words it takes.
std::string CSimCanModule::ReadSignal(const std::string& argument) const {
    const int number = ReadInt32(argument);
    if (number < 1 || number > GetSignalCount()) {
        return "ERROR";
    }
    int channel = 1;
    for (int index = 0; index + 1 < number; ++index) {
        channel += WordsOf(GetValueType(index));
    }
    std::string reply = std::to_string(channel);
    for (const std::string& field : m_signals[number - 1]) {
        reply += "," + field;
    }
    return reply + "," + std::to_string(WordsOf(GetValueType(number - 1)));
}

bool CSimCanModule::WriteSignal(const std::string& argument) {
    TextLines fields;
    CTextFile::SplitText(fields, ",", argument);
    if (fields.size() == 1 && ReadInt32(fields[0]) == 0) {
        m_signals.clear();
        m_cro.clear();
        m_dto.clear();
        return true;
    }
    if (fields.size() != kSignalFields + 1) {
        return false;
    }
    const int number = ReadInt32(fields[0]);
    const int valueType = ReadInt32(fields.back());
    if (number < 1 || number > GetSignalCount() + 1 || valueType < 0 || valueType > 4 ||
        fields[kSignalFields - 2].empty()) {
        return false;
    }
    fields.erase(fields.begin());
    const int replaced = number <= GetSignalCount() ? WordsOf(GetValueType(number - 1)) : 0;
    if (CountWords() - replaced + WordsOf(valueType) > kMaxWords) {
        return false;
    }
    if (number > GetSignalCount()) {
        m_signals.push_back(fields);
    } else {
        m_signals[number - 1] = fields;
    }
    return true;
}

std::string CSimCanModule::Execute(const std::string& command) {
    std::string head;
    std::string argument;
    SplitCommand(command, head, argument);
    if (head == "CRD") {
        return ReadCount();
    }
    if (head == "DBR") {
        return ReadSignal(argument);
    }
    if (head == "DBW") {
        m_xcpWriteOpen = false;
        return Judge(WriteSignal(argument));
    }
    if (head == "XCR") {
        m_xcpLines.clear();
        m_xcpWriteOpen = true;
        m_xcpStatus = m_xcpOn ? kXcpOn : kNonXcp;
        return kAckReply;
    }
    if (head == "XCP") {
        // Procedure lines belong to the write that "XCR" opened.
        const bool accepted = m_xcpWriteOpen && !argument.empty();
        if (accepted) {
            m_xcpLines.push_back(argument);
        }
        return Judge(accepted);
    }
    if (head == "XSN") {
        if (!m_xcpOn) {
            return kNakReply;
        }
        // Without a procedure the module has nothing to ask the ECU and waits until it gives up.
        m_xcpStatus = m_xcpLines.empty() ? kXcpTimeOut : kXcpSentCompletely;
        return kAckReply;
    }
    if (head == "XSW") {
        if (argument.empty()) {
            return m_xcpOn ? "ON" : "OFF";
        }
        if (argument != "ON" && argument != "OFF") {
            return kNakReply;
        }
        m_xcpOn = argument == "ON";
        m_xcpStatus = m_xcpOn ? kXcpOn : kNonXcp;
        return kAckReply;
    }
    if (head == "XST") {
        return std::to_string(m_xcpStatus);
    }
    if (head == "ACK" && m_kindG) {
        if (argument.empty()) {
            return m_ackSetting;
        }
        const bool valid = argument.starts_with("ON,") || argument.starts_with("OFF,");
        if (valid) {
            m_ackSetting = argument;
        }
        return Judge(valid);
    }
    if (const int page = PageOf(head, "CR"); page >= 0) {
        m_cro[page] = argument;
        return kAckReply;
    }
    if (const int page = PageOf(head, "DT"); page >= 0) {
        m_dto[page] = argument;
        return kAckReply;
    }
    return kNakReply;
}
