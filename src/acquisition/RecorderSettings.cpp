#include "acquisition/RecorderSettings.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "framework/SettingsStore.h"
#include "framework/UpdateHints.h"

#include <utility>

std::string_view ChartWidthLabel(int seconds) {
    for (const ChartWidth& width : kChartWidths) {
        if (width.seconds == seconds)
            return width.label;
    }
    return {};
}

CRecorderSettings::CRecorderSettings(const std::string& programFolder,
                                     const std::string& recordFolder)
    : m_viewFolder(recordFolder.empty() ? programFolder : recordFolder),
      m_viewerPgm(programFolder + "plotview"), m_programFolder(programFolder),
      m_recordFolder(recordFolder) {}

void CRecorderSettings::Load(const ISettingsStore& store) {
    const CRecorderSettings defaults(m_programFolder, m_recordFolder);
    auto text = [&](const char* key, const std::string& fallback) {
        return store.GetString(kSection, key, fallback);
    };
    auto number = [&](const char* key, int fallback) {
        return store.GetInt(kSection, key, fallback);
    };
    m_viewFolder = text("View_Folder", defaults.m_viewFolder);
    m_viewerPgm = text("Viewer_Pgm", defaults.m_viewerPgm);
    m_multiZt300 = number("Multi_ZT300", defaults.m_multiZt300);
    m_calRef = number("CalRef", defaults.m_calRef);
    m_calFileRef = text("CalFileRef", defaults.m_calFileRef);
    const int balWarnPercent = number("BalWarnPercent", defaults.m_balWarnPercent);
    m_balWarnPercent = balWarnPercent >= 0 && balWarnPercent <= kBalWarnMax
                           ? static_cast<std::uint16_t>(balWarnPercent)
                           : defaults.m_balWarnPercent;
    m_chartType = number("ChartType", defaults.m_chartType);
    m_yGridCnt = number("YGridCnt", defaults.m_yGridCnt);
    m_xWidth = number("XWidth", defaults.m_xWidth);
    m_xGrid = ReadReal(text("XGridStr", "2"));
    m_decimalDigit = number("Decimal_Digit", defaults.m_decimalDigit);
    m_externalSignal = number("External_Signal", defaults.m_externalSignal);
    m_realTimeMark = number("RealTimeMark", defaults.m_realTimeMark);
    m_ctrlInput = number("CTRL_Input", defaults.m_ctrlInput);
    m_rtmStartCode = text("RTM_START_CODE", defaults.m_rtmStartCode);
    m_rtmStopCode = text("RTM_STOP_CODE", defaults.m_rtmStopCode);
    m_rtmPauseCode = text("RTM_PAUSE_CODE", defaults.m_rtmPauseCode);
    m_useQu800 = number("Use_QU800", defaults.m_useQu800);
    m_autoSave = number("AutoSave", defaults.m_autoSave);
    m_asFilePath = text("AS_FilePath", defaults.m_asFilePath);
    m_asMode = number("AS_Mode", defaults.m_asMode);
    m_regPhyUnits = text("RegPhyUnits", defaults.m_regPhyUnits);
    KeepInRange(defaults);
}

namespace {

void KeepWithin(int& value, int low, int high, int fallback) {
    if (value < low || value > high)
        value = fallback;
}

// The code fields take digits and "." only.
void KeepCode(std::string& code, const std::string& fallback) {
    if (code.find_first_not_of("0123456789.") != std::string::npos)
        code = fallback;
}

} // namespace

double CRecorderSettings::GridStepOf(int xWidth) {
    for (const ChartWidth& width : kChartWidths) {
        if (width.seconds == xWidth)
            return width.gridSeconds;
    }
    return xWidth / 5.0;
}

void CRecorderSettings::KeepInRange(const CRecorderSettings& defaults) {
    for (auto [value, fallback] : {std::pair{&m_multiZt300, defaults.m_multiZt300},
                                   {&m_calRef, defaults.m_calRef},
                                   {&m_chartType, defaults.m_chartType},
                                   {&m_externalSignal, defaults.m_externalSignal},
                                   {&m_realTimeMark, defaults.m_realTimeMark},
                                   {&m_ctrlInput, defaults.m_ctrlInput},
                                   {&m_useQu800, defaults.m_useQu800},
                                   {&m_autoSave, defaults.m_autoSave},
                                   {&m_asMode, defaults.m_asMode}})
        KeepWithin(*value, 0, 1, fallback);
    KeepWithin(m_yGridCnt, kYGridMin, kYGridMax, defaults.m_yGridCnt);
    KeepWithin(m_decimalDigit, 0, kDecimalDigitMax, defaults.m_decimalDigit);
    KeepWithin(m_xWidth, kChartWidths.front().seconds, kChartWidths.back().seconds,
               defaults.m_xWidth);
    const double width = m_xWidth;
    if (!(m_xGrid >= width / kXGridMinDivisor && m_xGrid <= width))
        m_xGrid = GridStepOf(m_xWidth);
    KeepCode(m_rtmStartCode, defaults.m_rtmStartCode);
    KeepCode(m_rtmStopCode, defaults.m_rtmStopCode);
    KeepCode(m_rtmPauseCode, defaults.m_rtmPauseCode);
}

void CRecorderSettings::Save(ISettingsStore& store) const {
    store.WriteString(kSection, "View_Folder", m_viewFolder);
    store.WriteString(kSection, "Viewer_Pgm", m_viewerPgm);
    store.WriteInt(kSection, "Multi_ZT300", m_multiZt300);
    store.WriteInt(kSection, "CalRef", m_calRef);
    store.WriteString(kSection, "CalFileRef", m_calFileRef);
    store.WriteInt(kSection, "BalWarnPercent", m_balWarnPercent);
    store.WriteInt(kSection, "ChartType", m_chartType);
    store.WriteInt(kSection, "YGridCnt", m_yGridCnt);
    store.WriteInt(kSection, "XWidth", m_xWidth);
    store.WriteString(kSection, "XGridStr", FormatText("%e", m_xGrid));
    store.WriteInt(kSection, "Decimal_Digit", m_decimalDigit);
    store.WriteInt(kSection, "External_Signal", m_externalSignal);
    store.WriteInt(kSection, "RealTimeMark", m_realTimeMark);
    store.WriteInt(kSection, "CTRL_Input", m_ctrlInput);
    store.WriteString(kSection, "RTM_START_CODE", m_rtmStartCode);
    store.WriteString(kSection, "RTM_STOP_CODE", m_rtmStopCode);
    store.WriteString(kSection, "RTM_PAUSE_CODE", m_rtmPauseCode);
    store.WriteInt(kSection, "Use_QU800", m_useQu800);
    store.WriteInt(kSection, "AutoSave", m_autoSave);
    store.WriteString(kSection, "AS_FilePath", m_asFilePath);
    store.WriteInt(kSection, "AS_Mode", m_asMode);
    store.WriteString(kSection, "RegPhyUnits", m_regPhyUnits);
}

std::vector<std::string> CRecorderSettings::GetUnitList() const {
    TextLines units;
    CTextFile::SplitText(units, ",", m_regPhyUnits);
    if (units.size() > 100)
        units.resize(100);
    return units;
}

void CRecorderSettings::SetUnitList(const std::vector<std::string>& units) {
    m_regPhyUnits.clear();
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (i > 0)
            m_regPhyUnits += ',';
        m_regPhyUnits += units[i];
    }
}

int CRecorderSettings::OptionChangeHint(const CRecorderSettings& before) const {
    if (m_balWarnPercent != before.m_balWarnPercent)
        return UpdateHint::kConditionChanged;
    if (m_xWidth != before.m_xWidth)
        return UpdateHint::kChartWidthChanged;
    if (m_xGrid != before.m_xGrid)
        return UpdateHint::kGridStepChanged;
    if (m_yGridCnt != before.m_yGridCnt)
        return UpdateHint::kVerticalGridCountChanged;
    if (m_decimalDigit != before.m_decimalDigit)
        return UpdateHint::kDecimalDigitsChanged;
    return 0;
}
