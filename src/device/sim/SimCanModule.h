// The text-command side of a simulated CAN module: its signal database, CRO/DTO ids, XCP
// procedure, XCP switch and status, and (kind G) acknowledge setting.
#pragma once

#include <map>
#include <string>
#include <vector>

class CSimCanModule {
public:
    // `kindG`: the module takes factor and offset as text and knows the acknowledge setting.
    CSimCanModule(bool kindG, std::vector<std::vector<std::string>> signals,
                  std::string ackSetting);

    // Runs one command whose slot number is already removed ("CRD 0", "DBW 3,...", "XSW ON").
    // Acknowledge commands answer one byte, ACK (0x06) or NAK (0x15); queries answer text;
    // a command the module does not know answers NAK.
    std::string Execute(const std::string& command);
    // Whether the command is one of the queries that answer text.
    static bool IsQuery(const std::string& command);

    int GetSignalCount() const { return static_cast<int>(m_signals.size()); }
    // The value type (data type of the channel) of signal index i (0-based).
    int GetValueType(int index) const;
    const std::vector<std::string>& GetXcpLines() const { return m_xcpLines; }
    bool IsXcpOn() const { return m_xcpOn; }

    static constexpr int kMaxWords = 56;
    static constexpr int kSignalFields = 12; // of a signal write, after the signal number

private:
    std::string ReadCount() const;
    std::string ReadSignal(const std::string& argument) const;
    bool WriteSignal(const std::string& argument);
    int CountWords() const;

    bool m_kindG;
    std::vector<std::vector<std::string>> m_signals; // the fields of each signal write
    std::map<int, std::string> m_cro;                // page -> CRO message id
    std::map<int, std::string> m_dto;
    std::vector<std::string> m_xcpLines;
    bool m_xcpWriteOpen = false; // from "XCR" to the next database write
    bool m_xcpOn = false;
    int m_xcpStatus = 0; // 0 non XCP, 1 XCP on, 2 time out, 3 sent completely
    std::string m_ackSetting;
};
