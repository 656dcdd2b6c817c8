#pragma once

// The texts of the software options screen.

namespace sw48230 {

inline constexpr int Msg_Options_Title = 38;
inline constexpr int Msg_Options_Description = 39;
inline constexpr int Msg_Options_Language_Tab = 40;
inline constexpr int Msg_Options_Connection_Tab = 41;
inline constexpr int Msg_Options_Settings_Tab = 329;
// "Selected Language : " + name.
inline constexpr int Msg_Options_Selected_Language = 42;
// "Page " + page + " / " + page count.
inline constexpr int Msg_Options_Page = 43;
inline constexpr int Msg_Options_Page_Of = 44;
inline constexpr int Msg_Options_Previous = 45;
inline constexpr int Msg_Options_Next = 46;
inline constexpr int Msg_Options_Enable_Internet = 47;
inline constexpr int Msg_Options_Check_At_Start = 48;
inline constexpr int Msg_Options_Check_Update = 49;
inline constexpr int Msg_Options_OK = 50;
inline constexpr int Msg_Options_Cancel = 51;
inline constexpr int Msg_Options_New_Version = 52;
inline constexpr int Msg_Options_No_Update = 53;
// The question: text + language in use + text + chosen language + text.
inline constexpr int Msg_Options_Change_Language = 54;
inline constexpr int Msg_Options_Change_Language_To = 55;
inline constexpr int Msg_Options_Change_Language_End = 56;
inline constexpr int Msg_Options_Jump_Fields = 330;
inline constexpr int Msg_Options_Auto_Size = 331;

}  // namespace sw48230
