#include "core/commsettings/pargen_file.h"

#include "core/common/xml_file.h"

namespace sw48230 {

const std::optional<std::string>& ParGenFile::text(std::string_view name) const {
  for (std::size_t i = 0; i < pargen::Element_Names.size(); ++i) {
    if (name == pargen::Element_Names[i]) return elements[i];
  }
  static const std::optional<std::string> none;
  return none;
}

ParGenFile Read_ParGen_File(const std::filesystem::path& file) {
  ParGenFile read;
  const Result<pugi::xml_document> xml = read_xml_file(file);
  if (!xml) {
    read.failure = xml.failure();
    return read;
  }
  const pugi::xml_node root = root_element(*xml);
  for (std::size_t i = 0; i < pargen::Element_Names.size(); ++i) {
    read.elements[i] = child_text(root, pargen::Element_Names[i]);
  }
  return read;
}

}  // namespace sw48230
