#include "core/app/failure_messages.h"

#include "core/common/paths.h"
#include "core/i18n/message_table.h"

namespace sw48230 {

std::string Failure_Text(const MessageTable& messages, int message, const std::filesystem::path& path,
                         std::string_view reason) {
  std::string text = messages.text(message) + "\n" + path_to_utf8(path);
  if (!reason.empty()) text += "\n" + std::string(reason);
  return text;
}

std::string Failure_Line(const MessageTable& messages, int message, const std::filesystem::path& path,
                         std::string_view reason) {
  std::string line = messages.text(message) + " " + path_to_utf8(path);
  if (!reason.empty()) line += ": " + std::string(reason);
  return line;
}

}  // namespace sw48230
