#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sw48230 {

class MessageTable;

// Texts for failures of the environment that the user is told about: an
// updater that cannot start, fails or overruns, and files or folders that
// cannot be written. Each is followed by what failed and the system's reason.
inline constexpr int Msg_Updater_Not_Started = 492;
inline constexpr int Msg_Updater_Exit_Code = 493;
inline constexpr int Msg_Updater_Still_Running = 494;
inline constexpr int Msg_Settings_Not_Saved = 495;
inline constexpr int Msg_Folder_Not_Created = 496;

// The message, then the path and the reason on lines of their own, for a box.
std::string Failure_Text(const MessageTable& messages, int message, const std::filesystem::path& path,
                         std::string_view reason);

// The same on one line, for standard error.
std::string Failure_Line(const MessageTable& messages, int message, const std::filesystem::path& path,
                         std::string_view reason);

}  // namespace sw48230
