#include "core/common/failure.h"

#include "core/common/paths.h"

namespace sw48230 {

namespace {

Failure make(std::string file, int row, Failure::Item item, std::string name, int text, std::vector<std::string> values,
             std::string reason = {}, Failure::Place place = Failure::Place::In_Text) {
  return Failure{std::move(file), row, item, std::move(name), std::move(reason), text, std::move(values), place};
}

}  // namespace

std::string Fill_Placeholders(const std::string& text, const std::vector<std::string>& values) {
  std::string filled;
  filled.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const auto number = static_cast<std::size_t>(text[i + 1] - '1');
      if (number < values.size()) {
        filled += values[number];
        ++i;
        continue;
      }
    }
    filled += text[i];
  }
  return filled;
}

Failure File_Missing(std::string file) {
  std::vector<std::string> values{file};
  return make(std::move(file), 0, Failure::Item::File, {}, Msg_Failure_File_Missing, std::move(values));
}

Failure File_Unreadable(std::string file, std::string reason) {
  std::vector<std::string> values{file, reason};
  return make(std::move(file), 0, Failure::Item::File, {}, Msg_Failure_File_Unreadable, std::move(values),
              std::move(reason));
}

Failure File_Not_Written(const std::filesystem::path& path, std::error_code error) {
  return File_Not_Written(path, error.message());
}

Failure File_Not_Written(const std::filesystem::path& path, std::string reason) {
  std::string file = path_to_utf8(path);
  std::vector<std::string> values{file, reason};
  return make(std::move(file), 0, Failure::Item::File, {}, Msg_Failure_File_Not_Written, std::move(values),
              std::move(reason));
}

Failure Cannot_Be_Read(std::string file, std::string reason) {
  std::vector<std::string> values{reason};
  return make(std::move(file), 0, Failure::Item::File, {}, Msg_Failure_Cannot_Be_Read, std::move(values),
              std::move(reason), Failure::Place::After_File);
}

Failure Element_Missing(std::string file, std::string name) {
  std::vector<std::string> values{file, name};
  return make(std::move(file), 0, Failure::Item::Element, std::move(name), Msg_Failure_Element_Missing,
              std::move(values));
}

Failure Element_Not_A_Number(std::string file, std::string name, std::string text) {
  std::vector<std::string> values{file, name, std::move(text)};
  return make(std::move(file), 0, Failure::Item::Element, std::move(name), Msg_Failure_Element_Not_A_Number,
              std::move(values));
}

Failure Element_Outside_List(std::string file, std::string name, int last, std::string text) {
  std::vector<std::string> values{name, std::to_string(last), std::move(text)};
  return make(std::move(file), 0, Failure::Item::Element, std::move(name), Msg_Failure_Element_Outside_List,
              std::move(values), {}, Failure::Place::After_File);
}

Failure Element_Not_Exactly_1(std::string file, std::string name, std::string text) {
  std::vector<std::string> values{name, std::move(text)};
  return make(std::move(file), 0, Failure::Item::Element, std::move(name), Msg_Failure_Element_Not_Exactly_1,
              std::move(values), {}, Failure::Place::After_File);
}

Failure Attribute_Missing(std::string file, int row, std::string name) {
  std::vector<std::string> values{file, std::to_string(row), name};
  return make(std::move(file), row, Failure::Item::Attribute, std::move(name), Msg_Failure_Attribute_Missing,
              std::move(values));
}

Failure Attribute_Not_A_Number(std::string file, int row, std::string name, std::string text) {
  std::vector<std::string> values{file, std::to_string(row), name, std::move(text)};
  return make(std::move(file), row, Failure::Item::Attribute, std::move(name), Msg_Failure_Attribute_Not_A_Number,
              std::move(values));
}

Failure Headed_Failure(int heading, std::string file, std::string reason) {
  return make(std::move(file), 0, Failure::Item::File, {}, heading, {}, std::move(reason), Failure::Place::Before_File);
}

}  // namespace sw48230
