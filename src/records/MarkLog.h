// The event log of a measurement: each line starts with the time of day, and a sound goes with it.
#pragma once

#include <functional>
#include <string>

class IClock;
class ISoundPlayer;

// The texts the program logs.
namespace LogText {
inline constexpr const char* kStartRecord = "Start HDD Record";
inline constexpr const char* kStopRecord = "Stopped HDD Record";
inline constexpr const char* kPause = "Pause";
inline constexpr const char* kRestart = "Restart";
inline constexpr const char* kMarkPrefix = "MARK: ";
} // namespace LogText

class CMarkLog {
public:
    static constexpr const char* kSoundFile = "Windows XP Default.wav";
    using LineSink = std::function<void(const std::string& line)>;

    // `soundPath` is the wave file to play; `sink` receives each line (the document's log view).
    CMarkLog(ISoundPlayer& player, const IClock& clock, std::string soundPath, LineSink sink);

    void Log(const std::string& text);

private:
    ISoundPlayer& m_player;
    const IClock& m_clock;
    std::string m_soundPath;
    LineSink m_sink;
};
