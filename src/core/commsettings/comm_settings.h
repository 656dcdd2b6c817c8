#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/common/failure.h"
#include "core/commsettings/device_type.h"
#include "core/commsettings/pargen_file.h"
#include "core/commsettings/pargen_format.h"

namespace sw48230 {

class MessageTable;

// A project's communication settings, as the settings screen edits them and
// ParGen.xml stores them. List choices are indexes; everything the user types
// stays text exactly as typed until it is checked or compiled.
struct CommSettings {
  int Device_Type = Device_Type_Dip_Switch;
  int CAN_Baud = 7;
  int CAN_Type = 0;
  std::array<std::string, 4> TCP_IP = {"192", "168", "0", "10"};
  std::array<std::string, 4> TCP_SUB = {"255", "255", "255", "0"};
  std::array<std::string, 4> TCP_GAT = {"192", "168", "0", "1"};
  bool En_GAT = false;
  std::string Port = "502";
  std::string Time_Out = "1000";
  bool Dis_Sock = false;

  bool operator==(const CommSettings&) const = default;
};

inline constexpr const char* ParGen_File_Name = pargen::File_Name;

// The entries of the two fixed lists, which are not translated.
const std::vector<std::string>& CAN_Baud_Texts();
const std::vector<std::string>& CAN_Type_Texts();
inline constexpr int Device_Type_Count = 2;

// The settings as the screen shows ParGen.xml. A missing file gives the values proposed for a new
// project (dip-switch hardware); each missing or unconvertible element falls
// back on its own, and a list index outside its list counts as unconvertible.
// A file that exists but cannot be read or is not well-formed is
// File_Unreadable.
Result<CommSettings> Load_Comm_Settings(const ParGenFile& file);

// What the settings screen shows for a file that cannot be read: the values
// of a file without any element.
CommSettings Unreadable_Comm_Settings();

// The document as written: the root with its 19 elements in their order,
// texts as typed, then the version comment.
std::string ParGen_Document(const CommSettings& settings);
std::optional<Failure> Save_Comm_Settings(const std::filesystem::path& file, const CommSettings& settings);

// The value a failed check is about.
enum class CommField { IP, Subnet, Gateway, Port, Time_Out };

// A failed check of the settings: the field, the byte (0 to 3) of an
// address field, and the message the user is shown.
struct CommCheckFailure {
  CommField field = CommField::IP;
  int byte = 0;
  int message = 0;

  bool operator==(const CommCheckFailure&) const = default;
};

// The checks of the settings screen, in their order: none when all pass,
// else the first that fails. Fields the screen hides for the device type are
// not checked.
std::optional<CommCheckFailure> Controllo_Dati(const CommSettings& settings);

// What the settings screen's error box says about the failed check.
std::string Failure_Message(const MessageTable& messages, const CommCheckFailure& failure);

// A list element of ParGen.xml that the settings screen would show as
// another choice than the one stored: a number outside its list (the screen
// shows its fallback, while the image would carry the number), or a
// Device_Type that reads as 1 in another spelling than "1" (the tables treat
// the project as dip-switch hardware, while the image build takes only "1").
struct ListIndexFault {
  std::string element;
  std::string text;
  int list_size = 0;  // 0 for a Device_Type spelt otherwise

  bool operator==(const ListIndexFault&) const = default;
};

// The faults of Device_Type, CAN_Baud and CAN_Type in this order; none for a
// missing or unreadable file, a missing element or a text that is not a
// number (each of those has its documented fallback).
std::vector<ListIndexFault> List_Index_Faults(const ParGenFile& file);

// The fault as a failure of `file` (Element_Outside_List or
// Element_Not_Exactly_1), as the image build and the checks report it.
Failure List_Index_Failure(std::string file, const ListIndexFault& fault);

// What the other users of ParGen.xml read from it: the request table
// screens at every opening, their checks, their CSV import and the image's
// request records. Each element falls back on its own, by the number text
// rule; a missing file gives jumper hardware, the 11-bit frame format and
// port 502.
struct TableContext {
  int Hard_Type = pargen::project_fallback::Device_Type;
  int Type_Can = pargen::project_fallback::CAN_Type;  // 0: 11-bit identifiers, other: 29-bit
  std::int32_t Default_Port = pargen::project_fallback::Port_Number;
};
TableContext Read_Table_Context(const ParGenFile& file);

}  // namespace sw48230
