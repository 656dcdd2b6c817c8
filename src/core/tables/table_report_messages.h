#pragma once

// The texts of the CSV import and of the network warnings of the request
// tables: one block at the end of the message table.

namespace sw48230 {

inline constexpr int Msg_Csv_Line = 492;
inline constexpr int Msg_Csv_Column = 493;
inline constexpr int Msg_Csv_Unreadable = 494;
inline constexpr int Msg_Csv_Too_Large = 495;
inline constexpr int Msg_Csv_Not_Text = 496;
inline constexpr int Msg_Csv_Not_UTF8 = 497;
inline constexpr int Msg_Csv_No_Header = 498;
inline constexpr int Msg_Csv_Unknown_Column = 499;
inline constexpr int Msg_Csv_Duplicate_Column = 500;
inline constexpr int Msg_Csv_Too_Many_Columns = 501;
inline constexpr int Msg_Csv_No_COB_Column = 502;
inline constexpr int Msg_Csv_Too_Many_Fields = 503;
inline constexpr int Msg_Csv_Too_Few_Fields = 504;
inline constexpr int Msg_Csv_Open_Quote = 505;
inline constexpr int Msg_Csv_Misplaced_Quote = 506;
inline constexpr int Msg_Csv_No_COB = 507;
inline constexpr int Msg_Csv_Too_Many_Rows = 508;
inline constexpr int Msg_Csv_Import_Failed = 509;
inline constexpr int Msg_Warning_Row = 510;
inline constexpr int Msg_Warning_Rows = 511;
inline constexpr int Msg_Warning_Unreachable = 512;
inline constexpr int Msg_Warning_Own_Address = 513;
inline constexpr int Msg_Warning_Network_Address = 514;
inline constexpr int Msg_Warning_Broadcast_Address = 515;
inline constexpr int Msg_Warning_Same_Cob_ID = 516;
inline constexpr int Msg_Warning_Overlapping_Writes = 517;

}  // namespace sw48230
