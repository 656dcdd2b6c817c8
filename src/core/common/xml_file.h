#pragma once

#include <filesystem>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "core/common/failure.h"

namespace sw48230 {

// The document of an XML file, or File_Missing or File_Unreadable naming the
// file by its file name: a file that exists but cannot be read or is not
// well-formed is unreadable, with what went wrong as the reason. Text made
// only of blanks is kept, since a value such as " " is the user's value.
Result<pugi::xml_document> read_xml_file(const std::filesystem::path& path);

// The document that read_xml_file would give for a file holding `bytes`:
// the same size limit and the same parse. A writer proves with it that what
// it is about to write can be read back.
Result<pugi::xml_document> parse_xml_file_bytes(std::string_view bytes, std::string file);

// The document of a file; nothing when the file is missing, cannot be opened
// or is not well-formed, for the readers that treat all of those alike.
std::optional<pugi::xml_document> load_xml_file(const std::filesystem::path& path);

// The root of a file is its first top-level element, whatever its name; an
// XML declaration, comments or processing instructions before it are passed
// over. An empty handle when the document has no element.
pugi::xml_node root_element(const pugi::xml_document& document);

// The text of the first child element `name` of `parent`; nothing when there
// is no such element.
std::optional<std::string> child_text(pugi::xml_node parent, const char* name);

// The document as the program writes it: UTF-8, no XML declaration, no
// indentation or line breaks. A value holding a character that XML 1.0
// cannot hold comes out as pugixml writes it; write_xml_file refuses such a
// text.
std::string serialize_xml(const pugi::xml_document& document);

// Writes a serialised document atomically, unless it holds a character, or a
// character reference, that XML 1.0 forbids (xml_characters.h): then nothing
// is written and the file is reported as not written, naming the character.
std::optional<Failure> write_xml_file(const std::filesystem::path& path, std::string_view document);

}  // namespace sw48230
