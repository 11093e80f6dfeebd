// Conditions of one and two recorders for the record file tests.
#pragma once

#include "conditions/RecCnd.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

inline CChCnd MakeRecordChannel(int slot, int channel, const std::string& range) {
    CChCnd ch;
    ch.m_ampCode = 2;
    ch.m_slot = static_cast<std::int16_t>(slot);
    ch.m_channel = static_cast<std::int16_t>(channel);
    ch.m_enabled = 1;
    ch.SetRange(range);
    ch.m_filter = "OFF";
    return ch;
}

// One recorder with two 16-bit channels: rows of two words, named "Test" + "_" + ..., in Count
// mode (countMode 1) or by their start time (0).
inline std::vector<CRecCnd> MakeTwoWordRows(const std::string& folder, int countMode = 1,
                                            const std::string& rate = "100Hz") {
    std::vector<CRecCnd> conditions(1);
    CRecCnd& master = conditions[0];
    master.m_rate = rate;
    master.m_baseFileName = "Test";
    master.m_hddRecFolder = folder;
    master.m_hddRecFileExt = countMode;
    master.m_channels = {MakeRecordChannel(1, 0, "10V"), MakeRecordChannel(1, 1, "10V")};
    return conditions;
}

// The 16-bit words of a data file.
inline std::vector<std::int16_t> ReadRecordWords(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::int16_t> words(std::filesystem::file_size(path) / 2);
    file.read(reinterpret_cast<char*>(words.data()),
              static_cast<std::streamsize>(words.size() * 2));
    return words;
}

// Recorder 1 (MASTER): 1-1 at 10 V with a residual, 1-13 as a 32-bit channel with a second
// slope, and one calculation channel; recorder 2 (SLAVE): 3-5 and a channel with its own number.
inline std::vector<CRecCnd> MakeTwoRecorders(const std::string& folder) {
    std::vector<CRecCnd> conditions(2);
    CRecCnd& master = conditions[0];
    master.m_sync = 11;
    master.m_rate = "100Hz";
    master.m_baseFileName = "CARD01\\Run.x";
    master.m_hddRecFolder = folder;
    master.m_memo = "Memo one";
    master.m_testInfo = {"A", "B", "C"};
    CChCnd load = MakeRecordChannel(1, 0, "10V");
    load.m_name = "Load";
    load.m_balanceResidual = 250;
    master.m_channels.push_back(load);
    CChCnd wide = MakeRecordChannel(1, 12, "5V");
    wide.SetDataType(2);
    wide.m_phyUnit = "kN";
    wide.m_phy1 = 2.0;
    wide.m_amp1 = 1.0;
    wide.m_phy2 = -4.0;
    wide.m_amp2 = -0.5;
    master.m_channels.push_back(wide);
    CChCnd off = MakeRecordChannel(1, 1, "10V");
    off.m_enabled = 0;
    master.m_channels.push_back(off);
    master.m_calc = 1;
    master.m_calcChannels[0].m_enabled = 1;
    master.m_calcChannels[0].SetScale(100.0, -100.0);
    master.m_calcChannels[0].m_name = "Sum";

    CRecCnd& slave = conditions[1];
    slave.m_sync = 12;
    slave.m_rate = "100Hz";
    CChCnd strain = MakeRecordChannel(3, 4, "2000uST");
    strain.m_sepChart.m_min = -1500.0;
    strain.m_sepChart.m_max = 1500.0;
    slave.m_channels.push_back(strain);
    CChCnd numbered = MakeRecordChannel(3, 5, "");
    numbered.m_monitorNo = 7;
    slave.m_channels.push_back(numbered);
    return conditions;
}

// A folder of its own under the system's temporary folder, removed with the object.
class CTempFolder {
public:
    explicit CTempFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() /
                 ("zt300-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~CTempFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    std::string Path() const { return m_path.string(); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};
