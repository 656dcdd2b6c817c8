#pragma once

// The texts of the CSV import and of the network warnings of the request
// tables: one block at the end of the message table.

namespace sw48230 {

inline constexpr int Msg_Csv_Line = 503;
inline constexpr int Msg_Csv_Column = 504;
inline constexpr int Msg_Csv_Unreadable = 505;
inline constexpr int Msg_Csv_Too_Large = 506;
inline constexpr int Msg_Csv_Not_Text = 507;
inline constexpr int Msg_Csv_Not_UTF8 = 508;
inline constexpr int Msg_Csv_No_Header = 509;
inline constexpr int Msg_Csv_Unknown_Column = 510;
inline constexpr int Msg_Csv_Duplicate_Column = 511;
inline constexpr int Msg_Csv_Too_Many_Columns = 512;
inline constexpr int Msg_Csv_No_COB_Column = 513;
inline constexpr int Msg_Csv_Too_Many_Fields = 514;
inline constexpr int Msg_Csv_Too_Few_Fields = 515;
inline constexpr int Msg_Csv_Open_Quote = 516;
inline constexpr int Msg_Csv_Misplaced_Quote = 517;
inline constexpr int Msg_Csv_No_COB = 518;
inline constexpr int Msg_Csv_Too_Many_Rows = 519;
inline constexpr int Msg_Csv_Import_Failed = 520;
// A field that the table file could not hold, or a check box that is not
// one; appended to the others later in the table.
inline constexpr int Msg_Csv_Value_Too_Long = 583;
inline constexpr int Msg_Csv_Character = 584;
inline constexpr int Msg_Csv_Not_A_Tick = 585;
inline constexpr int Msg_Warning_Row = 521;
inline constexpr int Msg_Warning_Rows = 522;
inline constexpr int Msg_Warning_Unreachable = 523;
inline constexpr int Msg_Warning_Own_Address = 524;
inline constexpr int Msg_Warning_Network_Address = 525;
inline constexpr int Msg_Warning_Broadcast_Address = 526;
inline constexpr int Msg_Warning_Same_Cob_ID = 527;
inline constexpr int Msg_Warning_Overlapping_Writes = 528;

}  // namespace sw48230
