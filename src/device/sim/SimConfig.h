// The text configuration of simulated recorders (format described at the top of
// data/sim/default.conf) and its parser.
#pragma once

#include "device/sim/SimFaults.h"
#include "device/sim/SimSignal.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// One module as the recorder reports it.
struct CSimSlotConfig {
    int slot = 0; // 1..8
    std::string partNumber;
    int typeCode = 0; // decimal here; the recorder reports it in hexadecimal
    int channelCount = 0;
    // The range and filter items the module reports, keyed "RV", "RS", "RG", "RF", "CF"; the
    // value is the item's text after the key, e.g. "10,5,1,500m".
    std::map<std::string, std::string> items;
    std::vector<int> enabledChannels; // 0-based, enabled at power-on
    // CAN modules: the database at power-on, one signal per entry, the twelve fields of a
    // signal write after its number (message id ... value type).
    std::vector<std::vector<std::string>> canSignals;
    std::string ackSetting = "OFF,0"; // CAN-G acknowledge setting: "ON" or "OFF", then the value
};

struct CSimRecorderConfig {
    std::string name;
    std::string address;
    int signalSeed = 0; // defaults to the last number of the address
    int syncMode = 10;  // 10 SINGLE, 11 MASTER, 12 SLAVE
    std::string rate = "1kHz";
    std::string baseFileName = "Test";
    // Memory card: "NONE" = no card, "TEMP" = a private temporary folder made on first use,
    // anything else = that folder (its contents are erased by a card format).
    std::string card = "TEMP";
    int cardKBytes = 1048576;
    int balanceMs = 0;                 // how long a balance takes (status BALANCE meanwhile)
    int cardOpMs = 0;                  // how long a card operation takes (status CARDOP meanwhile)
    std::vector<CSimSlotConfig> slots; // in slot order
    // Known inputs at power-on, by slot and 0-based channel.
    std::map<std::pair<int, int>, CSimInput> inputs;
    CSimFaults faults;
};

class CSimConfig {
public:
    // Empty on success, else "line N: <what is wrong>"; on failure nothing is kept.
    std::string Parse(const std::string& text);
    // Reads the file, then Parse; a file that cannot be read gives its error text.
    std::string Load(const std::string& path);

    const std::vector<CSimRecorderConfig>& GetRecorders() const { return m_recorders; }

    static bool IsIPv4Address(const std::string& text);
    // One of the sampling rates a recorder takes ("1kHz", "1.28Hz", "EXT", ...).
    static bool IsRateText(const std::string& text);
    // A finite decimal number and nothing else ("2.5", "-0.125", "1e-3").
    static bool ParseNumber(const std::string& text, double& value);
    // The value and noise of an input ("0" when the noise is not given); empty when both are
    // numbers and the noise is not negative, else what is wrong.
    static std::string ParseInput(const std::string& value, const std::string& noise,
                                  CSimInput& input);

    // The default configuration compiled into the program (the text of data/sim/default.conf).
    static const char* GetDefaultText();

private:
    std::vector<CSimRecorderConfig> m_recorders;
};
