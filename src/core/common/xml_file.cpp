#include "core/common/xml_file.h"

#include <sstream>

#include "core/common/atomic_file.h"
#include "core/common/file_read.h"
#include "core/common/paths.h"
#include "core/common/xml_characters.h"

namespace sw48230 {

namespace {

constexpr unsigned Parse_Options = pugi::parse_default | pugi::parse_ws_pcdata_single;

Result<pugi::xml_document> parse(std::string_view bytes, pugi::xml_encoding encoding, std::string file) {
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_buffer(bytes.data(), bytes.size(), Parse_Options, encoding);
  if (result) return document;
  std::string reason = result.description();
  const bool read_failed = result.status == pugi::status_file_not_found || result.status == pugi::status_io_error ||
                           result.status == pugi::status_out_of_memory;
  if (!read_failed) reason += " (at byte " + std::to_string(result.offset) + ")";
  return File_Unreadable(std::move(file), std::move(reason));
}

}  // namespace

Result<pugi::xml_document> read_xml_file(const std::filesystem::path& path) {
  std::string file = path_to_utf8(path.filename());
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) {
    if (error && error != std::errc::no_such_file_or_directory)
      return File_Unreadable(std::move(file), error.message());
    return File_Missing(std::move(file));
  }
  // The parser would take a folder or a device for a file of unknown size,
  // and would wait on a FIFO for ever.
  const Result<std::string> bytes = read_regular_file(path, Xml_File_Limit);
  if (!bytes) return File_Unreadable(std::move(file), bytes.failure().reason);
  return parse_xml_file_bytes(*bytes, std::move(file));
}

Result<pugi::xml_document> parse_xml_file_bytes(std::string_view bytes, std::string file) {
  if (bytes.size() > Xml_File_Limit) {
    return File_Unreadable(std::move(file), "larger than the limit of " + std::to_string(Xml_File_Limit) + " bytes");
  }
  return parse(bytes, pugi::encoding_auto, std::move(file));
}

std::optional<pugi::xml_document> load_xml_file(const std::filesystem::path& path) {
  Result<pugi::xml_document> file = read_xml_file(path);
  if (!file) return std::nullopt;
  return std::move(*file);
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

std::optional<Failure> write_xml_file(const std::filesystem::path& path, std::string_view document) {
  if (const auto character = Find_Non_Xml_Content(document)) {
    return File_Not_Written(path, "it would hold " + *character + ", a character XML does not allow");
  }
  return write_file_atomically(path, document);
}

}  // namespace sw48230
