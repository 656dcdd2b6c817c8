#include "core/common/xml_file.h"

#include <sstream>

#include "core/common/file_read.h"

namespace sw48230 {

namespace {

constexpr unsigned Parse_Options = pugi::parse_default | pugi::parse_ws_pcdata_single;

void take_parse_result(XmlFile& file, const pugi::xml_parse_result& result) {
  if (result) {
    file.status = XmlFile::Status::Loaded;
  } else {
    file.status = XmlFile::Status::Unreadable;
    file.error = result.description();
    const bool read_failed = result.status == pugi::status_file_not_found || result.status == pugi::status_io_error ||
                             result.status == pugi::status_out_of_memory;
    if (!read_failed) file.error += " (at byte " + std::to_string(result.offset) + ")";
  }
}

}  // namespace

XmlFile read_xml_file(const std::filesystem::path& path) {
  XmlFile file;
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) {
    file.status =
        error && error != std::errc::no_such_file_or_directory ? XmlFile::Status::Unreadable : XmlFile::Status::Missing;
    file.error = error.message();
    return file;
  }
  // The parser would take a folder or a device for a file of unknown size,
  // and would wait on a FIFO for ever.
  const Result<std::string> bytes = read_regular_file(path, Xml_File_Limit);
  if (!bytes) {
    file.status = XmlFile::Status::Unreadable;
    file.error = bytes.failure().reason;
    return file;
  }
  take_parse_result(file, file.document.load_buffer(bytes->data(), bytes->size(), Parse_Options));
  return file;
}

XmlFile parse_xml_text(std::string_view text) {
  XmlFile file;
  take_parse_result(file, file.document.load_buffer(text.data(), text.size(), Parse_Options, pugi::encoding_utf8));
  return file;
}

std::optional<pugi::xml_document> load_xml_file(const std::filesystem::path& path) {
  XmlFile file = read_xml_file(path);
  if (file.status != XmlFile::Status::Loaded) return std::nullopt;
  return std::move(file.document);
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

}  // namespace sw48230
