#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/failure.h"
#include "core/update/ethernet_update_format.h"
#include "core/update/update_choices.h"

namespace sw48230 {

// The four parts of a dotted IPv4 address, as texts.
using IpParts = std::array<std::string, 4>;

// Splits a dotted address into its four parts, each trimmed of blanks, and
// accepts it only when every part is a number 0 to 255 by the number text
// rule. Dots after the third stay in the fourth part (and make it invalid).
std::optional<IpParts> Valid_IP(std::string_view ip);

// The address as the Ethernet update uses it: the four parts joined by dots,
// exactly as typed.
std::string Address_Text(const IpParts& parts);

inline constexpr const char* Ethernet_Updater_Name = "Ethernet_Update.exe";
inline constexpr const char* Ethernet_Update_File_Name = ethernet_update_file::File_Name;
inline constexpr const char* Ethernet_Firmware_Name = "sim48230K.sim";

std::filesystem::path Ethernet_Updater_Path(const std::filesystem::path& program_dir);
std::filesystem::path Ethernet_Update_File(const std::filesystem::path& program_dir);

// The content of Ethernet_Update.xml, everything the Ethernet updater gets:
// the device address, its ports, and one operation per write that was
// chosen (firmware first, then the configuration image bank2.bin).
std::string Ethernet_Update_Xml(std::string_view address, const UpdateChoices& choices,
                                const std::filesystem::path& master_dir, const std::filesystem::path& project_dir);

// Writes Ethernet_Update.xml into `program_dir`, replacing any earlier one.
std::optional<Failure> Compile_XML_Parameter(const std::filesystem::path& program_dir, std::string_view address,
                                      const UpdateChoices& choices, const std::filesystem::path& master_dir,
                                      const std::filesystem::path& project_dir);

}  // namespace sw48230
