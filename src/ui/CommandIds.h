// Command ids of the menus and accelerators; other parts of the program refer to these numbers.
#pragma once

namespace CommandId {
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kWindowArrange = 57649;
inline constexpr int kWindowCascade = 57650;
inline constexpr int kWindowTileHorz = 57651;
inline constexpr int kWindowTileVert = 57652;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;

inline constexpr int kLoadCnd = 32771;
inline constexpr int kWriteCnd = 32772;
inline constexpr int kBalanceAll = 32773;
inline constexpr int kGoArmed = 32774;
inline constexpr int kStopArmed = 32775;
inline constexpr int kRemoteControl = 32776;
inline constexpr int kStartHddCardAcq = 32777;
inline constexpr int kStartHddAcq = 32778;
inline constexpr int kStartCardAcq = 32779;
inline constexpr int kStopAcq = 32780;
inline constexpr int kScan = 32781;
inline constexpr int kCardInfo = 32782;
inline constexpr int kIpSetting = 32783;
inline constexpr int kRtc = 32784;
inline constexpr int kFileTransfer = 32785;
inline constexpr int kMark = 32786;
inline constexpr int kPause = 32787;
inline constexpr int kBalanceChannels = 32788;
inline constexpr int kCalibration = 32789;
inline constexpr int kVoice = 32790;
inline constexpr int kWatchDogStart = 32791;
inline constexpr int kWatchDogStop = 32792;
inline constexpr int kConditionSetting = 32795;
inline constexpr int kMonitorChart = 32796;
inline constexpr int kDigitAndWave = 32797;
inline constexpr int kChartSlot1 = 32800; // .. 32807 for slots 1..8
inline constexpr int kExportCal = 32810;
inline constexpr int kImportCal = 32811;
inline constexpr int kViewAcqFile = 32812;
inline constexpr int kSaveAsCnd = 32813;
inline constexpr int kSwitch = 32820;
inline constexpr int kOptionSetting = 32830;
inline constexpr int kRegisterPhyUnit = 32832;
inline constexpr int kEditFile = 32833;
inline constexpr int kTestInfoPanel = 32834;
inline constexpr int kMaxMinValue = 32835;
inline constexpr int kSaveMaxMin = 32836;
inline constexpr int kOffset = 32837;
inline constexpr int kCanKInit = 32838;
inline constexpr int kXcpSet = 32839;
inline constexpr int kCanGInit = 32840;
inline constexpr int kAutoScale = 32841;
inline constexpr int kResetScale = 32842;
inline constexpr int kResetMaxMin = 32843;
inline constexpr int kWave = 32844;
inline constexpr int kDigit = 32845;
inline constexpr int kRemoteControlPanel = 32846;
inline constexpr int kRelayControlSetting = 32847;
inline constexpr int kXcpStatus = 32848;
// The material list of the document (CMatView) in a window of its own.
inline constexpr int kMaterialList = 32860;
} // namespace CommandId
