#pragma once

namespace sw48230 {

// Fixed texts that name the product; they are not translated.
inline constexpr const char* SW_Code = "SW48230";
inline constexpr const char* SW_Desc = "CAN / Modbus TCP Master - Converter";
inline constexpr const char* Title_Text = "Norvane - Configurator SW48230 - CAN / Modbus TCP Master ";
inline constexpr const char* Version_Text = "2.007";
inline constexpr const char* Document_Code = "MN48230";

// Every project file carries this comment after its root element.
inline constexpr const char* Project_File_Comment = "SW_VERSION = 2.007";

// The maker's web site, shown beside step 5 and in the About screen.
inline constexpr const char* Maker_Web_Address = "www.norvane.com";
inline constexpr const char* Home_Page_Url = "https://www.norvane.com/HOME/default.asp?frompg=SW48230";

}  // namespace sw48230
