// Control identifiers of the settings window and the recording dialog; the tests find the controls by them.
#pragma once

namespace ControlId {

inline constexpr int Tab1 = 100;
inline constexpr int FrameGeneral = 101;
inline constexpr int FrameShortcutKeys = 102;
inline constexpr int FrameDeskNames = 103;
inline constexpr int Picture1 = 104;
inline constexpr int Frame1 = 105;

inline constexpr int CheckAutoStart = 110;
inline constexpr int CheckTransparency = 111;
inline constexpr int cmdStart = 112;
inline constexpr int cmdStop = 113;

inline constexpr int CheckWin = 120;
inline constexpr int CheckCtrl = 121;
inline constexpr int CheckAlt = 122;
inline constexpr int CheckShift = 123;
inline constexpr int Label1 = 130;         // Label1..Label4, then Label5 at 134
inline constexpr int LabelRecord = 140;    // index 0..4
inline constexpr int cmdRecordKey1 = 150;  // index 0..4

inline constexpr int LabelDeskName = 160;  // index 0..3
inline constexpr int TextDeskName = 170;   // index 0..3

inline constexpr int SaveExit = 180;
inline constexpr int NoSaveExit = 181;
inline constexpr int guideurl = 190;  // the Help menu's item
inline constexpr int NextPage = 191;      // Ctrl+Tab (the accelerators of res/VarnelControlPanel.rc)
inline constexpr int PreviousPage = 192;  // Ctrl+Shift+Tab
inline constexpr int LabelStatus = 210;   // index 0..4: beside each hot-key row

inline constexpr int DialogLabel1 = 200;
inline constexpr int CancelButton = 201;

}  // namespace ControlId
