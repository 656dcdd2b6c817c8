#pragma once

// The texts of the Ethernet and the serial update screens.

namespace sw48230 {

inline constexpr int Msg_Boot_TCP_Title = 57;  // also its description
inline constexpr int Msg_IP_Address = 58;
inline constexpr int Msg_Boot_TCP_Check_Connection = 59;
inline constexpr int Msg_Boot_TCP_Ping = 60;
inline constexpr int Msg_Boot_TCP_Cancel = 61;
inline constexpr int Msg_Boot_TCP_Next = 62;
inline constexpr int Msg_Boot_TCP_Options = 63;
inline constexpr int Msg_Boot_TCP_Firmware = 64;
inline constexpr int Msg_Boot_TCP_Read_Firmware = 65;
inline constexpr int Msg_Boot_TCP_Configuration = 66;
inline constexpr int Msg_Boot_TCP_Read_Configuration = 67;
inline constexpr int Msg_Boot_TCP_Update = 68;
inline constexpr int Msg_Device_Found = 69;
inline constexpr int Msg_Device_Not_Found = 70;
inline constexpr int Msg_Check_IP = 71;
inline constexpr int Msg_Not_In_Network = 72;
inline constexpr int Msg_Boot_TCP_First_Address_Hint = 467;  // one per byte
inline constexpr int Msg_Boot_TCP_Ping_Hint = 471;
inline constexpr int Msg_Boot_TCP_Cancel_Hint = 472;
inline constexpr int Msg_Boot_TCP_Next_Hint = 473;
inline constexpr int Msg_Boot_TCP_Firmware_Hint = 474;
inline constexpr int Msg_Boot_TCP_Read_Firmware_Hint = 475;
inline constexpr int Msg_Boot_TCP_Configuration_Hint = 476;
inline constexpr int Msg_Boot_TCP_Read_Configuration_Hint = 477;
inline constexpr int Msg_Boot_TCP_Update_Hint = 478;

inline constexpr int Msg_Boot_Ser_Title = 73;
inline constexpr int Msg_Boot_Ser_Description = 74;
inline constexpr int Msg_Boot_Ser_First_Step = 75;  // the heading, then the four steps
inline constexpr int Msg_Boot_Ser_Refresh_Hint = 80;
inline constexpr int Msg_Boot_Ser_Options = 81;
inline constexpr int Msg_Boot_Ser_Firmware = 82;
inline constexpr int Msg_Boot_Ser_Read_Firmware = 83;
inline constexpr int Msg_Boot_Ser_Configuration = 84;
inline constexpr int Msg_Boot_Ser_Read_Configuration = 85;
inline constexpr int Msg_Boot_Ser_Cancel = 86;
inline constexpr int Msg_Boot_Ser_Next = 87;
inline constexpr int Msg_Boot_Ser_Update = 88;
inline constexpr int Msg_Select_Port = 89;
inline constexpr int Msg_Boot_Ser_Port_Hint = 459;
inline constexpr int Msg_Boot_Ser_Cancel_Hint = 460;
inline constexpr int Msg_Boot_Ser_Next_Hint = 461;
inline constexpr int Msg_Boot_Ser_Firmware_Hint = 462;
inline constexpr int Msg_Boot_Ser_Read_Firmware_Hint = 463;
inline constexpr int Msg_Boot_Ser_Configuration_Hint = 464;
inline constexpr int Msg_Boot_Ser_Read_Configuration_Hint = 465;
inline constexpr int Msg_Boot_Ser_Update_Hint = 466;

}  // namespace sw48230
