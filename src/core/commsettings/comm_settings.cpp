#include "core/commsettings/comm_settings.h"

#include <pugixml.hpp>

#include "core/common/number_text.h"
#include "core/common/product.h"
#include "core/common/xml_file.h"
#include "core/commsettings/comm_settings_messages.h"
#include "core/i18n/message_table.h"

namespace sw48230 {
namespace {

int read_index(const ParGenFile& file, const char* name, int fallback, int count) {
  const auto& text = file.text(name);
  if (!text) return fallback;
  const int index = to_int32(*text, fallback);
  return index >= 0 && index < count ? index : fallback;
}

void read_texts(const ParGenFile& file, const std::array<const char*, 4>& names, std::array<std::string, 4>& texts) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (const auto& text = file.text(names[i])) texts[i] = *text;
  }
}

// Only "0" clears a check box; any other text, the empty one too, ticks it.
bool read_tick(const ParGenFile& file, const char* name) {
  const auto& text = file.text(name);
  return text && *text != "0";
}

CommSettings read_elements(const ParGenFile& file) {
  CommSettings settings;
  namespace fallback = pargen::screen_fallback;
  settings.Device_Type = read_index(file, pargen::Device_Type, fallback::Device_Type, Device_Type_Count);
  settings.CAN_Baud = read_index(file, pargen::CAN_Baud, fallback::CAN_Baud, static_cast<int>(CAN_Baud_Texts().size()));
  settings.CAN_Type = read_index(file, pargen::CAN_Type, fallback::CAN_Type, static_cast<int>(CAN_Type_Texts().size()));
  read_texts(file, pargen::TCP_IP, settings.TCP_IP);
  read_texts(file, pargen::TCP_SUB, settings.TCP_SUB);
  read_texts(file, pargen::TCP_GAT, settings.TCP_GAT);
  settings.En_GAT = read_tick(file, pargen::En_GAT);
  if (const auto& port = file.text(pargen::Port)) settings.Port = *port;
  if (const auto& time_out = file.text(pargen::Time_Out)) settings.Time_Out = *time_out;
  settings.Dis_Sock = read_tick(file, pargen::Dis_Sock);
  return settings;
}

bool in_range(const std::string& text, std::int32_t low, std::int32_t high) {
  const std::int32_t value = to_int32(text, -1);
  return value >= low && value <= high;
}

}  // namespace

const std::vector<std::string>& CAN_Baud_Texts() {
  static const std::vector<std::string> texts = {"20K", "50K", "100K", "125K", "250K", "500K", "800K", "1000K"};
  return texts;
}

const std::vector<std::string>& CAN_Type_Texts() {
  static const std::vector<std::string> texts = {"CAN 2.0A (CobID 11 bits)", "CAN 2.0B (CobID 29 bits)"};
  return texts;
}

Result<CommSettings> Load_Comm_Settings(const ParGenFile& file) {
  if (file.missing()) return CommSettings{};
  if (file.failure) return *file.failure;
  return read_elements(file);
}

CommSettings Unreadable_Comm_Settings() { return read_elements(ParGenFile{}); }

std::string ParGen_Document(const CommSettings& settings) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child(pargen::Root);
  const auto add = [&root](const char* name, const std::string& text) {
    root.append_child(name).text().set(text.c_str());
  };
  add(pargen::Device_Type, std::to_string(settings.Device_Type));
  add(pargen::CAN_Baud, std::to_string(settings.CAN_Baud));
  add(pargen::CAN_Type, std::to_string(settings.CAN_Type));
  for (std::size_t i = 0; i < 4; ++i) add(pargen::TCP_IP[i], settings.TCP_IP[i]);
  for (std::size_t i = 0; i < 4; ++i) add(pargen::TCP_SUB[i], settings.TCP_SUB[i]);
  for (std::size_t i = 0; i < 4; ++i) add(pargen::TCP_GAT[i], settings.TCP_GAT[i]);
  add(pargen::En_GAT, settings.En_GAT ? "1" : "0");
  add(pargen::Port, settings.Port);
  add(pargen::Time_Out, settings.Time_Out);
  add(pargen::Dis_Sock, settings.Dis_Sock ? "1" : "0");
  document.append_child(pugi::node_comment).set_value(Project_File_Comment);
  return serialize_xml(document);
}

std::optional<Failure> Save_Comm_Settings(const std::filesystem::path& file, const CommSettings& settings) {
  return write_xml_file(file, ParGen_Document(settings));
}

std::optional<CommCheckFailure> Controllo_Dati(const CommSettings& settings) {
  const auto address = [](const std::array<std::string, 4>& bytes, CommField field,
                          int first_message) -> std::optional<CommCheckFailure> {
    for (int i = 0; i < 4; ++i) {
      if (!in_range(bytes[static_cast<std::size_t>(i)], 0, 255)) return CommCheckFailure{field, i, first_message + i};
    }
    return std::nullopt;
  };
  if (auto failed = address(settings.TCP_IP, CommField::IP, Msg_Check_First_IP)) return failed;
  if (auto failed = address(settings.TCP_SUB, CommField::Subnet, Msg_Check_First_Subnet)) return failed;
  if (settings.En_GAT) {
    if (auto failed = address(settings.TCP_GAT, CommField::Gateway, Msg_Check_First_Gateway)) return failed;
  }
  // The port is shown, and so checked, only for jumper hardware; 10000 is
  // taken by the device itself there.
  if (settings.Device_Type == Device_Type_Jumper &&
      (!in_range(settings.Port, 0, 65535) || to_int32(settings.Port, -1) == 10000)) {
    return CommCheckFailure{CommField::Port, 0, Msg_Check_Port};
  }
  if (!in_range(settings.Time_Out, 1, 65535)) return CommCheckFailure{CommField::Time_Out, 0, Msg_Check_Time_Out};
  return std::nullopt;
}

std::string Failure_Message(const MessageTable& messages, const CommCheckFailure& failure) {
  return messages.text(failure.message);
}

std::vector<ListIndexFault> List_Index_Faults(const ParGenFile& file) {
  std::vector<ListIndexFault> faults;
  const auto check = [&](const char* name, int count) {
    const auto& text = file.text(name);
    if (!text) return;
    const auto index = parse_int32(*text);
    if (!index) return;
    if (*index < 0 || *index >= count) {
      faults.push_back({name, *text, count});
    } else if (std::string_view(name) == pargen::Device_Type && *index == Device_Type_Dip_Switch && *text != "1") {
      faults.push_back({name, *text, 0});
    }
  };
  check(pargen::Device_Type, Device_Type_Count);
  check(pargen::CAN_Baud, static_cast<int>(CAN_Baud_Texts().size()));
  check(pargen::CAN_Type, static_cast<int>(CAN_Type_Texts().size()));
  return faults;
}

Failure List_Index_Failure(std::string file, const ListIndexFault& fault) {
  if (fault.list_size == 0) return Element_Not_Exactly_1(std::move(file), fault.element, fault.text);
  return Element_Outside_List(std::move(file), fault.element, fault.list_size - 1, fault.text);
}

TableContext Read_Table_Context(const ParGenFile& file) {
  TableContext context;
  namespace fallback = pargen::project_fallback;
  if (const auto& text = file.text(pargen::Device_Type)) context.Hard_Type = to_int32(*text, fallback::Device_Type);
  if (const auto& text = file.text(pargen::CAN_Type)) context.Type_Can = to_int32(*text, fallback::CAN_Type);
  if (const auto& text = file.text(pargen::Port)) context.Default_Port = to_int32(*text, fallback::Port_Number);
  return context;
}

}  // namespace sw48230
