#pragma once

// The texts of the main window, and the question every editing screen asks
// before its edits are dropped.

namespace sw48230 {

inline constexpr int Msg_Main_Begin = 0;
inline constexpr int Msg_Main_First_Step = 1;  // "Step 1"; the other steps follow in order
inline constexpr int Msg_Main_No_Project = 9;
inline constexpr int Msg_Main_No_Project_Hint = 10;
inline constexpr int Msg_Main_Project_Opened = 11;
inline constexpr int Msg_Main_Info_Hint = 12;
inline constexpr int Msg_Main_Options_Hint = 13;
inline constexpr int Msg_Main_Close_Hint = 14;
inline constexpr int Msg_Main_New = 15;
inline constexpr int Msg_Main_Open = 16;
inline constexpr int Msg_Main_Update_Device = 17;
inline constexpr int Msg_Project_Not_Valid = 18;
inline constexpr int Msg_New_Version = 19;
inline constexpr int Msg_Main_Set_Communication = 20;
inline constexpr int Msg_Main_COB_Request = 251;
inline constexpr int Msg_Main_COB_Setting = 252;
inline constexpr int Msg_Main_New_Hint = 253;
inline constexpr int Msg_Main_Open_Hint = 254;
inline constexpr int Msg_Main_Update_Device_Hint = 255;
inline constexpr int Msg_Main_Set_Communication_Hint = 256;
inline constexpr int Msg_Main_COB_Request_Hint = 261;
inline constexpr int Msg_Main_COB_Setting_Hint = 262;

inline constexpr int Msg_Exit_Without_Saving = 123;

// The buttons of every message box.
inline constexpr int Msg_Box_Yes = 589;
inline constexpr int Msg_Box_No = 590;
inline constexpr int Msg_Box_OK = 591;

}  // namespace sw48230
