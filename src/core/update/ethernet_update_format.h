#pragma once

// Ethernet_Update.xml, everything the Ethernet updater gets, written fresh
// for each run: the device's address and ports, then one Operation element
// per write. The updater reads it only; the program never reads it back, so
// there are no fallbacks. The fixed values are what the device and the
// updater expect.

namespace sw48230::ethernet_update_file {

inline constexpr const char* File_Name = "Ethernet_Update.xml";
inline constexpr const char* Root = "Ethernet_Update";

// The elements under the root, in the order they are written.
inline constexpr const char* Version = "Version";
inline constexpr const char* Title = "Title";
inline constexpr const char* IP_Address_Dev = "IP_Address_Dev";
inline constexpr const char* Application_Port = "Application_Port";
inline constexpr const char* Boot_Port = "Boot_Port";
inline constexpr const char* Boot_Port_Sec = "Boot_Port_Sec";
inline constexpr const char* Address_Protection = "Address_Protection";
inline constexpr const char* Protections = "Protections";
inline constexpr const char* Protection = "Protection";
inline constexpr const char* Operations = "Operations";
inline constexpr const char* Operation = "Operation";

// The elements of an Operation, in the order they are written.
inline constexpr const char* Ope_Protection_Enabled = "Ope_Protection_Enabled";
inline constexpr const char* Ope_GoToBoot_Before = "Ope_GoToBoot_Before";
inline constexpr const char* Ope_GoToApp_Before = "Ope_GoToApp_Before";
inline constexpr const char* Ope_IP_Address = "Ope_IP_Address";
inline constexpr const char* Ope_Port = "Ope_Port";
inline constexpr const char* Ope_Port_Sec = "Ope_Port_Sec";
inline constexpr const char* Ope_Erase_Memory = "Ope_Erase_Memory";
inline constexpr const char* Ope_FileName = "Ope_FileName";
inline constexpr const char* Ope_Start_Address = "Ope_Start_Address";
inline constexpr const char* Ope_Memory_Type = "Ope_Memory_Type";
inline constexpr const char* Ope_Bank_Type = "Ope_Bank_Type";
inline constexpr const char* Ope_Read_Back = "Ope_Read_Back";
inline constexpr const char* Ope_Write_CSS = "Ope_Write_CSS";
inline constexpr const char* Ope_Address_CSS = "Ope_Address_CSS";
inline constexpr const char* Ope_Command_CSS = "Ope_Command_CSS";
inline constexpr const char* Ope_Write_Internal_Data = "Ope_Write_Internal_Data";
inline constexpr const char* Ope_WID_Address = "Ope_WID_Address";
inline constexpr const char* Ope_WID_Command = "Ope_WID_Command";
inline constexpr const char* Ope_WID_Data = "Ope_WID_Data";
inline constexpr const char* Ope_GoToApp_After = "Ope_GoToApp_After";

// The device's fixed ports and addresses.
inline constexpr const char* Version_Value = "1000";
inline constexpr const char* Application_Port_Value = "10000";
inline constexpr const char* Boot_Port_Value = "2008";
inline constexpr const char* Boot_Port_Sec_Value = "2007";
inline constexpr const char* Address_Protection_Value = "0x78000";
inline constexpr const char* Protection_Value = "0x124";

}  // namespace sw48230::ethernet_update_file
