#include "core/i18n/failure_messages.h"

#include "core/common/paths.h"
#include "core/i18n/message_table.h"

namespace sw48230 {

std::string Failure_Message(const MessageTable& messages, const Failure& failure) {
  const std::string text = Fill_Placeholders(messages.text(failure.text), failure.values);
  switch (failure.place) {
    case Failure::Place::In_Text:
      break;
    case Failure::Place::After_File:
      return Located_Text(failure.file, text);
    case Failure::Place::Before_File:
      return text + " " + (failure.reason.empty() ? failure.file : Located_Text(failure.file, failure.reason));
  }
  return text;
}

std::string Failure_Text(const MessageTable& messages, const Failure& failure) {
  if (failure.place != Failure::Place::After_File) return Failure_Message(messages, failure);
  return Fill_Placeholders(messages.text(failure.text), failure.values);
}

std::string Located_Text(std::string_view place, std::string_view text) {
  std::string located(place);
  located += ": ";
  located += text;
  return located;
}

std::string Row_Text(const MessageTable& messages, int label, int row, std::string_view text) {
  std::string located = messages.text(label) + std::to_string(row);
  located += text;
  return located;
}

std::string Heading_Text(const MessageTable& messages, int heading, const std::filesystem::path& path,
                         std::string_view reason) {
  std::string text = messages.text(heading) + "\n" + path_to_utf8(path);
  if (!reason.empty()) text += "\n" + std::string(reason);
  return text;
}

}  // namespace sw48230
