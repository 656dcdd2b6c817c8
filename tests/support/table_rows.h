#pragma once

// var.xml and var2.xml rows for the tests that read request tables, written
// as the table screens write them or changed to what only a hand-made file
// holds.

#include <algorithm>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

namespace sw48230::test {

// The attributes of one row element, in file order.
class TableRow {
 public:
  // Sets an attribute, or adds it at the end.
  TableRow& set(const std::string& name, std::string value) {
    const auto found = find(name);
    if (found != attributes_.end()) {
      found->second = std::move(value);
    } else {
      attributes_.emplace_back(name, std::move(value));
    }
    return *this;
  }
  TableRow& erase(const std::string& name) {
    const auto found = find(name);
    if (found != attributes_.end()) attributes_.erase(found);
    return *this;
  }

  const std::vector<std::pair<std::string, std::string>>& attributes() const { return attributes_; }

 private:
  std::vector<std::pair<std::string, std::string>>::iterator find(const std::string& name) {
    return std::find_if(attributes_.begin(), attributes_.end(), [&name](const auto& a) { return a.first == name; });
  }

  std::vector<std::pair<std::string, std::string>> attributes_;
};

// An enabled read-request row that passes the checks for every device type:
// Cob-ID 0x100, server 192.168.0.11, one holding register (type 2) at
// address 7.
inline TableRow screen_row() {
  TableRow row;
  row.set("Enable", "Y")
      .set("COB", "256")
      .set("CAN_Type", "CAN 2.0A (11 bits)")
      .set("IP_Add_B1", "192")
      .set("IP_Add_B2", "168")
      .set("IP_Add_B3", "0")
      .set("IP_Add_B4", "11")
      .set("Port", "502")
      .set("ID_Modbus", "1")
      .set("Type", "2")
      .set("Address_Word", "7")
      .set("Quantity", "1")
      .set("PollTime", "100")
      .set("MaxError", "0")
      .set("Swap", "N")
      .set("Mnemonic", "");
  return row;
}

// The same as a write request: holding registers are type 1 there.
inline TableRow setting_row() { return screen_row().set("Type", "1"); }

// The file content: the rows under the root, then the version comment.
inline std::string table_document(const std::vector<TableRow>& rows) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("C_TO_Customer_Protocol");
  for (const TableRow& row : rows) {
    pugi::xml_node element = root.append_child("row");
    for (const auto& [name, value] : row.attributes()) element.append_attribute(name.c_str()).set_value(value.c_str());
  }
  document.append_child(pugi::node_comment).set_value("SW_VERSION = 2.007");
  std::string text;
  struct Writer : pugi::xml_writer {
    std::string* out;
    void write(const void* data, size_t size) override { out->append(static_cast<const char*>(data), size); }
  } writer;
  writer.out = &text;
  document.save(writer, "", pugi::format_raw | pugi::format_no_declaration);
  return text;
}

}  // namespace sw48230::test
