#include "acquisition/MarkCommands.h"

#include "acquisition/MarkForwarder.h"
#include "conditions/TextNumbers.h"
#include "records/MarkLog.h"
#include "records/MarkRecord.h"

#include <filesystem>

CMarkCommands::CMarkCommands(CRecordWriter& writer, CMarkLog& log, const IClock& clock)
    : m_writer(writer), m_log(log), m_clock(clock) {}

bool CMarkCommands::SetMark(int code, const MemoAsker& askMemo, CMarkForwarder* forwarder,
                            int handle) {
    if (!m_writer.IsRecording())
        return false;
    const std::uint32_t position = m_writer.GetSamplesWritten();
    const std::string time = FormatTimeText(m_clock.GetLocalTime());
    std::string memo;
    if (code < 0) {
        const MarkMemoRequest request{
            std::filesystem::path(m_writer.GetPaths().data).filename().string(),
            m_writer.GetFileRow(position)};
        if (!askMemo || !askMemo(request, memo))
            return false;
    } else {
        memo = FormatText("%d", code);
    }
    // The record may have ended while the memo dialog was open.
    if (!m_writer.AddMark(position, time, memo))
        return false;
    if (forwarder != nullptr && handle != 0)
        forwarder->Request(handle);
    m_log.Log(LogText::kMarkPrefix + memo);
    return true;
}

PauseChange CMarkCommands::TogglePause() {
    const PauseChange change = m_writer.TogglePause(FormatTimeText(m_clock.GetLocalTime()));
    if (change == PauseChange::Paused)
        m_log.Log(LogText::kPause);
    else if (change == PauseChange::Resumed)
        m_log.Log(LogText::kRestart);
    return change;
}
