#pragma once

// The texts of the create-project and open-project dialogs; the faults of a
// new name are in project_store.h.

namespace sw48230 {

inline constexpr int Msg_New_Project_Title = 25;
inline constexpr int Msg_New_Project_Description = 26;
inline constexpr int Msg_New_Project_Name = 27;
inline constexpr int Msg_New_Project_OK = 28;
inline constexpr int Msg_New_Project_Cancel = 29;
inline constexpr int Msg_New_Project_Name_Hint = 263;
inline constexpr int Msg_New_Project_OK_Hint = 264;
inline constexpr int Msg_New_Project_Cancel_Hint = 265;

inline constexpr int Msg_Open_Project_Title = 33;
inline constexpr int Msg_Open_Project_Description = 34;
inline constexpr int Msg_Open_Project_List = 35;
inline constexpr int Msg_Open_Project_OK = 36;
inline constexpr int Msg_Open_Project_Cancel = 37;
inline constexpr int Msg_Open_Project_List_Hint = 266;
inline constexpr int Msg_Open_Project_OK_Hint = 267;
inline constexpr int Msg_Open_Project_Cancel_Hint = 268;

}  // namespace sw48230
