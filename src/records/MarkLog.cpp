#include "records/MarkLog.h"

#include "framework/Clock.h"
#include "framework/SoundPlayer.h"
#include "records/MarkRecord.h"

#include <utility>

CMarkLog::CMarkLog(ISoundPlayer& player, const IClock& clock, std::string soundPath, LineSink sink)
    : m_player(player), m_clock(clock), m_soundPath(std::move(soundPath)), m_sink(std::move(sink)) {
}

void CMarkLog::Log(const std::string& text) {
    m_player.PlayAsync(m_soundPath);
    if (m_sink)
        m_sink(FormatTimeText(m_clock.GetLocalTime()) + " " + text);
}
