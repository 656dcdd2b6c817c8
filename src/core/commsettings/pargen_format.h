#pragma once

// ParGen.xml, a project's communication settings: the root element holds one
// element per setting, each with its value as text. Every reader and writer
// takes the names from here; the readers' fallbacks differ on purpose, and
// each set is listed here with the reader it belongs to.

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/commsettings/device_type.h"

namespace sw48230::pargen {

inline constexpr const char* File_Name = "ParGen.xml";
inline constexpr const char* Root = "GeneralParameter";

// The elements, in the order they are written.
inline constexpr const char* Device_Type = "Device_Type";
inline constexpr const char* CAN_Baud = "CAN_Baud";
inline constexpr const char* CAN_Type = "CAN_Type";
inline constexpr std::array<const char*, 4> TCP_IP = {"TCP_IP_1", "TCP_IP_2", "TCP_IP_3", "TCP_IP_4"};
inline constexpr std::array<const char*, 4> TCP_SUB = {"TCP_SUB_1", "TCP_SUB_2", "TCP_SUB_3", "TCP_SUB_4"};
inline constexpr std::array<const char*, 4> TCP_GAT = {"TCP_GAT_1", "TCP_GAT_2", "TCP_GAT_3", "TCP_GAT_4"};
inline constexpr const char* En_GAT = "En_GAT";
inline constexpr const char* Port = "Port";
inline constexpr const char* Time_Out = "Time_Out";
inline constexpr const char* Dis_Sock = "Dis_Sock";

inline constexpr std::size_t Element_Count = 19;
inline constexpr std::array<const char*, Element_Count> Element_Names = {
    Device_Type, CAN_Baud,   CAN_Type,   TCP_IP[0],  TCP_IP[1],  TCP_IP[2],  TCP_IP[3],
    TCP_SUB[0],  TCP_SUB[1], TCP_SUB[2], TCP_SUB[3], TCP_GAT[0], TCP_GAT[1], TCP_GAT[2],
    TCP_GAT[3],  En_GAT,     Port,       Time_Out,   Dis_Sock,
};

// The bit-rate index of 1000K, which both the settings screen and bank2.bin
// take for a CAN_Baud they cannot read.
inline constexpr int CAN_Baud_Fallback = 7;

// The settings screen, for a list element that is missing or unreadable in a
// file that exists (a missing file gives the new-project values instead).
namespace screen_fallback {
inline constexpr int Device_Type = Device_Type_Jumper;
inline constexpr int CAN_Baud = CAN_Baud_Fallback;
inline constexpr int CAN_Type = 0;
}  // namespace screen_fallback

// The request tables and the image's request records, which read only these
// three elements (TableContext), for a missing file, element or number.
namespace project_fallback {
inline constexpr int Device_Type = Device_Type_Jumper;
inline constexpr int CAN_Type = 0;
inline constexpr std::int32_t Port_Number = 502;
}  // namespace project_fallback

// bank2.bin, for each element that is missing or not a number. A missing
// En_GAT means no gateway. bank.bin has no fallbacks: it refuses the file.
namespace image_fallback {
inline constexpr std::int32_t CAN_Baud = CAN_Baud_Fallback;
inline constexpr std::array<std::uint8_t, 4> TCP_IP = {192, 168, 0, 5};
inline constexpr std::array<std::uint8_t, 4> TCP_SUB = {255, 255, 255, 0};
inline constexpr std::array<std::uint8_t, 4> TCP_GAT = {192, 168, 0, 1};
inline constexpr std::int32_t Time_Out = 1000;
}  // namespace image_fallback

}  // namespace sw48230::pargen
