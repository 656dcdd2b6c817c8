#pragma once

// How failures read: each composition of a failure's text with where it is
// happens here, once, for the screens and the command-line tool alike.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/failure.h"

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

// The failure in the language of `messages`, on one line, its file where its
// Place puts it:
// 'ParGen.xml is missing',
// 'var.xml, row 3: attribute IP_Add_B3 is not a number: ""',
// 'ParGen.xml: element CAN_Baud is outside its list 0..7: "8"',
// 'Error! The folder could not be created: /home/me/PROJECTS: Permission denied'.
// The command-line tool prints it with English_Messages().
std::string Failure_Message(const MessageTable& messages, const Failure& failure);

// What a box shows under the path of the failure's file: the text of a
// failure that follows its file without that file, any other failure whole.
std::string Failure_Text(const MessageTable& messages, const Failure& failure);

// A text after the place it is about: 'ParGen.xml: element ...',
// 'var.xml: Error row 3!! ...', 'table.csv: CSV line 2!! ...'.
std::string Located_Text(std::string_view place, std::string_view text);

// A text about one row or line after its number and the label `label` gives
// in the language of `messages`: 'Error row 3' + '!! Cob-ID must be ...',
// 'CSV line 2' + ', column COB!! ...'.
std::string Row_Text(const MessageTable& messages, int label, int row, std::string_view text);

// The heading, then the path and the reason (when there is one) on lines of
// their own, for a box about a program run.
std::string Heading_Text(const MessageTable& messages, int heading, const std::filesystem::path& path,
                         std::string_view reason);

}  // namespace sw48230
