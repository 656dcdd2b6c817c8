#pragma once

// The texts of the CSV buttons, the network warnings list and the find bar of
// the request screens: one block at the end of the message table.

namespace sw48230 {

inline constexpr int Msg_Csv_Export = 543;
inline constexpr int Msg_Csv_Export_Hint = 544;
inline constexpr int Msg_Csv_Import = 545;
inline constexpr int Msg_Csv_Import_Hint = 546;
inline constexpr int Msg_Csv_Export_Title = 547;
inline constexpr int Msg_Csv_Import_Title = 548;
inline constexpr int Msg_Csv_Files = 549;
inline constexpr int Msg_Csv_More_Failures = 550;
inline constexpr int Msg_Warnings = 551;
inline constexpr int Msg_Warnings_Hint = 552;
inline constexpr int Msg_Warnings_List = 553;
inline constexpr int Msg_Find = 554;
inline constexpr int Msg_Find_Hint = 555;
inline constexpr int Msg_Find_Next = 556;
inline constexpr int Msg_Find_Next_Hint = 557;
inline constexpr int Msg_Find_Previous = 558;
inline constexpr int Msg_Find_Previous_Hint = 559;
inline constexpr int Msg_Find_Close = 560;
inline constexpr int Msg_Find_Close_Hint = 561;
inline constexpr int Msg_Find_No_Match = 562;
inline constexpr int Msg_Find_Wrapped_Top = 563;
inline constexpr int Msg_Find_Wrapped_End = 564;

}  // namespace sw48230
