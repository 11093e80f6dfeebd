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
inline constexpr int kScan = 32781;
inline constexpr int kIpSetting = 32783;
inline constexpr int kViewAcqFile = 32812;
inline constexpr int kOptionSetting = 32830;
inline constexpr int kCanKInit = 32838;
inline constexpr int kCanGInit = 32840;
} // namespace CommandId
