#pragma once

// The texts of the CSV buttons, the network warnings list and the find bar of
// the request screens: one block at the end of the message table.

namespace sw48230 {

inline constexpr int Msg_Csv_Export = 555;
inline constexpr int Msg_Csv_Export_Hint = 556;
inline constexpr int Msg_Csv_Import = 557;
inline constexpr int Msg_Csv_Import_Hint = 558;
inline constexpr int Msg_Csv_Export_Title = 559;
inline constexpr int Msg_Csv_Import_Title = 560;
inline constexpr int Msg_Csv_Files = 561;
inline constexpr int Msg_Csv_More_Failures = 562;
// The question before an import of no requests replaces the table's.
inline constexpr int Msg_Csv_Empties_Table = 588;
inline constexpr int Msg_Warnings = 563;
inline constexpr int Msg_Warnings_Hint = 564;
inline constexpr int Msg_Warnings_List = 565;
inline constexpr int Msg_Find = 566;
inline constexpr int Msg_Find_Hint = 567;
inline constexpr int Msg_Find_Next = 568;
inline constexpr int Msg_Find_Next_Hint = 569;
inline constexpr int Msg_Find_Previous = 570;
inline constexpr int Msg_Find_Previous_Hint = 571;
inline constexpr int Msg_Find_Close = 572;
inline constexpr int Msg_Find_Close_Hint = 573;
inline constexpr int Msg_Find_No_Match = 574;
inline constexpr int Msg_Find_Wrapped_Top = 575;
inline constexpr int Msg_Find_Wrapped_End = 576;

}  // namespace sw48230
