#pragma once

// The texts of the communication settings screen and of its checks.

namespace sw48230 {

inline constexpr int Msg_Comm_Title = 90;
inline constexpr int Msg_Comm_Description = 91;
inline constexpr int Msg_Comm_OK = 92;
inline constexpr int Msg_Comm_Cancel = 93;
inline constexpr int Msg_Comm_Select_Device = 94;
inline constexpr int Msg_Comm_CAN = 97;
inline constexpr int Msg_Comm_CAN_Baud = 98;
inline constexpr int Msg_Comm_CAN_Type = 99;
inline constexpr int Msg_Comm_Collapse = 107;
inline constexpr int Msg_Comm_Expand = 108;
// The device list, in the order of the device types.
inline constexpr int Msg_Comm_Device_Jumper = 269;
inline constexpr int Msg_Comm_Device_Dip_Switch = 270;
inline constexpr int Msg_Comm_Master = 271;
inline constexpr int Msg_Comm_IP = 272;
inline constexpr int Msg_Comm_Subnet = 273;
inline constexpr int Msg_Comm_Gateway = 274;
inline constexpr int Msg_Comm_Port = 275;
inline constexpr int Msg_Comm_Time_Out = 276;
inline constexpr int Msg_Comm_Keep_Connected = 277;
inline constexpr int Msg_Comm_Device_Hint = 292;
inline constexpr int Msg_Comm_CAN_Baud_Hint = 293;
inline constexpr int Msg_Comm_CAN_Type_Hint = 294;
inline constexpr int Msg_Comm_First_IP_Hint = 311;      // one per byte
inline constexpr int Msg_Comm_First_Subnet_Hint = 315;  // one per byte
inline constexpr int Msg_Comm_Gateway_Hint = 319;
inline constexpr int Msg_Comm_First_Gateway_Hint = 320;  // one per byte
inline constexpr int Msg_Comm_Port_Hint = 324;
inline constexpr int Msg_Comm_Time_Out_Hint = 325;
inline constexpr int Msg_Comm_Keep_Connected_Hint = 326;
inline constexpr int Msg_Comm_OK_Hint = 327;
inline constexpr int Msg_Comm_Cancel_Hint = 328;

// The failed checks; the address checks have one text per byte.
inline constexpr int Msg_Check_First_IP = 278;
inline constexpr int Msg_Check_First_Subnet = 282;
inline constexpr int Msg_Check_First_Gateway = 286;
inline constexpr int Msg_Check_Port = 290;
inline constexpr int Msg_Check_Time_Out = 291;

}  // namespace sw48230
