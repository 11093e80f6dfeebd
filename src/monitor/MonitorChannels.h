// The channels a monitor window shows, in the column order of the display ring and the max/min
// table: recorder by recorder, its enabled channels, then its enabled calculation channels when
// calculation is on.
#pragma once

#include <string>
#include <vector>

class CChCnd;
class CRecCnd;

struct MonitorChannel {
    int index = 0;    // column in the display ring and the max/min table
    int recorder = 0; // position of the recorder's condition
    CChCnd* condition = nullptr;
    bool calc = false;
    int number = 0;   // what the name shows after "Ch", and what the lists sort by
    std::string name; // "%s(Ch%d)", "(M)" or "(S)" first when the document has several recorders
};

std::vector<MonitorChannel> EnumerateMonitorChannels(std::vector<CRecCnd>& conditions);

// The channel's own number when it has one, else the digits of slot and 0-based channel read as
// one number (slot 1 channel 3 gives 13), as the record header numbers its series.
int MonitorChannelNumber(const CChCnd& channel);
// The physical unit, else what follows the number of the range text ("500mV" gives "mV").
std::string MonitorChannelUnit(const CChCnd& channel);
