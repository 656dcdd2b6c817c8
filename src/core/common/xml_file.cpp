#include "core/common/xml_file.h"

#include <sstream>

#include "core/common/atomic_file.h"

namespace sw48230 {

std::optional<pugi::xml_document> load_xml_file(const std::filesystem::path& path) {
  std::optional<pugi::xml_document> document(std::in_place);
  const pugi::xml_parse_result result =
      document->load_file(path.c_str(), pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (!result) return std::nullopt;
  return document;
}

pugi::xml_node root_element(const pugi::xml_document& document) { return document.document_element(); }

std::optional<std::string> child_text(pugi::xml_node parent, const char* name) {
  const pugi::xml_node element = parent.child(name);
  if (!element) return std::nullopt;
  return std::string(element.text().get());
}

std::string serialize_xml(const pugi::xml_document& document) {
  std::ostringstream out;
  document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

std::error_code save_xml_file(const pugi::xml_document& document, const std::filesystem::path& path) {
  return write_file_atomically(path, serialize_xml(document));
}

}  // namespace sw48230
