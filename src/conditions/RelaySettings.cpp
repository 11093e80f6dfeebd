#include "conditions/RelaySettings.h"

#include "conditions/ConditionTables.h"
#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"

#include <algorithm>

namespace {

bool IsRelayPort(std::int64_t port) {
    return port >= 0 && port < 8;
}

} // namespace

std::string FormatDogTimerLine(const WatchDogSettings& dog) {
    return FormatText("DOG_TIMER %d,%d,%lu,%d,%lu", dog.safeTimer, dog.trgTimer,
                      static_cast<unsigned long>(dog.recStopTime), dog.recStart,
                      static_cast<unsigned long>(dog.autoMonitorTime));
}

void ApplyDogTimerPieces(WatchDogSettings& dog, const TextLines& pieces) {
    const std::size_t n = pieces.size();
    if (n > 0)
        dog.safeTimer = ReadInt32(pieces[0]);
    if (n > 1)
        dog.trgTimer = ReadInt32(pieces[1]);
    if (n > 2)
        dog.recStopTime = ReadUInt32(pieces[2]);
    if (n > 3)
        dog.recStart = ReadInt32(pieces[3]);
    if (n > 4)
        dog.autoMonitorTime = ReadUInt32(pieces[4]);
}

MonitorLine ParseMonitorChLine(const std::string& values, std::size_t minPieces,
                               CMonitorCh& monitor) {
    TextLines pieces;
    CTextFile::SplitText(pieces, ",", values);
    if (pieces.size() < minPieces)
        return MonitorLine::TooShort;
    // The port is printed 1-based in the relay lists; only the eight ports exist.
    if (pieces.size() >= 9 && !IsRelayPort(ReadWholeNumber(pieces[6])))
        return MonitorLine::BadPort;
    monitor = CMonitorCh{};
    monitor.m_channel = ReadInt16(pieces[0]);
    monitor.m_signalName = pieces[1];
    monitor.m_condition = ReadInt32(pieces[2]);
    monitor.m_x = ReadReal(pieces[3]);
    monitor.m_y = ReadReal(pieces[4]);
    monitor.m_and = ReadInt32(pieces[5]);
    if (pieces.size() >= 9) {
        monitor.m_port = ReadInt32(pieces[6]);
        monitor.m_trgTimes = ReadInt32(pieces[7]);
        monitor.m_countLimit = ReadInt32(pieces[8]);
    }
    return MonitorLine::Read;
}

void FormatRelaySettingsLines(const RelaySettings& settings, TextLines& lines) {
    lines.clear();
    lines.emplace_back("N66.FILE");
    lines.push_back(FormatDogTimerLine(settings.dog));
    for (const CMonitorCh& monitor : settings.monitors)
        lines.push_back("MONITORCH " + monitor.FormatValues());
    // The import wants more than two lines: without monitor channels an empty line follows, so
    // that what was exported can be imported again.
    if (settings.monitors.empty())
        lines.emplace_back();
}

bool ExportRelaySettings(const std::string& path, const RelaySettings& settings, IPrompt& prompt) {
    TextLines lines;
    FormatRelaySettingsLines(settings, lines);
    if (const std::string message = CTextFile::WriteTextLines(path, lines); !message.empty()) {
        prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    prompt.MessageBox("Export OK !", PromptIcon::Information);
    return true;
}

bool ImportRelaySettings(const TextLines& lines, const CRecCnd& condition, RelaySettings& settings,
                         IPrompt& prompt) {
    // The refusals name the line that made them, under the message itself.
    if (lines.size() <= 2 || lines.front() != "N66.FILE") {
        const int line =
            lines.empty() || lines.front() != "N66.FILE" ? 1 : static_cast<int>(lines.size()) + 1;
        prompt.MessageBox("Invalid file format!\n" + CTextFile::LineDetail(lines, line),
                          PromptIcon::Stop);
        return false;
    }
    RelaySettings imported{settings.dog, {}};
    TextLines pieces;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.starts_with("DOG_TIMER ")) {
            ApplyDogTimerPieces(imported.dog, CTextFile::SplitText(pieces, ",", line.substr(10)));
            continue;
        }
        if (!line.starts_with("MONITORCH "))
            continue;
        CMonitorCh monitor;
        const MonitorLine read = ParseMonitorChLine(line.substr(10), 9, monitor);
        if (read == MonitorLine::BadPort) {
            prompt.MessageBox("Invalid file format!\n" +
                                  CTextFile::LineDetail(lines, static_cast<int>(i) + 1),
                              PromptIcon::Stop);
            return false;
        }
        if (read != MonitorLine::Read)
            continue;
        const auto watches = [&monitor](const CChCnd& ch) {
            return ch.m_monitorNo == monitor.m_channel &&
                   ch.GetDisplayName() == monitor.m_signalName;
        };
        // Calculation channels can be watched too while calculation is on.
        const bool matched =
            std::any_of(condition.m_channels.begin(), condition.m_channels.end(), watches) ||
            (condition.m_calc != 0 && std::any_of(condition.m_calcChannels.begin(),
                                                  condition.m_calcChannels.end(), watches));
        if (!matched) {
            prompt.MessageBox("Imcompatible File !\n" +
                                  CTextFile::LineDetail(lines, static_cast<int>(i) + 1),
                              PromptIcon::Stop);
            return false;
        }
        imported.monitors.push_back(std::move(monitor));
    }
    settings = std::move(imported);
    return true;
}

bool ImportRelaySettingsFile(const std::string& path, const CRecCnd& condition,
                             RelaySettings& settings, IPrompt& prompt) {
    TextLines lines;
    if (std::string message = CTextFile::ReadTextLines(path, lines, 0, CTextFile::kMaxLoadBytes);
        !message.empty()) {
        prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    return ImportRelaySettings(lines, condition, settings, prompt);
}

std::vector<std::string> FormatRelayInfoLines(const WatchDogSettings& dog) {
    std::vector<std::string> lines;
    lines.emplace_back("Relay Control Setting : ");
    lines.push_back(FormatText("Trg Timer : %d ms ,Rec Start : %s ,AutoMonitor:%lu sec",
                               dog.trgTimer, dog.recStart ? "Yes" : "No",
                               static_cast<unsigned long>(dog.autoMonitorTime)));
    if (dog.recStopTime != WatchDogSettings::kRecStopOff) {
        lines.push_back(FormatText("WatchingDog Timer:%d ms ,REC Stop:Y, ACQ Time:%lu sec",
                                   dog.safeTimer, static_cast<unsigned long>(dog.recStopTime)));
    } else {
        lines.push_back(FormatText("WatchingDog Timer:%d ms ,REC Stop:N ", dog.safeTimer));
    }
    return lines;
}

std::vector<std::string> FormatRelayInfoRow(int number, const CMonitorCh& monitor,
                                            const std::vector<int>& portLevels) {
    const auto& conditions = ConditionTables::kMonitorConditions;
    const bool knownCondition = monitor.m_condition >= 0 &&
                                static_cast<std::size_t>(monitor.m_condition) < conditions.size();
    const bool high = monitor.m_port >= 0 &&
                      static_cast<std::size_t>(monitor.m_port) < portLevels.size() &&
                      portLevels[static_cast<std::size_t>(monitor.m_port)] != 0;
    return {FormatText("%d", number),
            FormatText("Ch%d", monitor.m_channel),
            monitor.m_signalName,
            FormatText("%5.3f", monitor.m_x),
            knownCondition ? std::string(conditions[static_cast<std::size_t>(monitor.m_condition)])
                           : std::string(),
            FormatText("%5.3f", monitor.m_y),
            monitor.m_and ? "O" : "",
            FormatText("P%d(%s)", monitor.m_port + 1, high ? "B" : "A")};
}
