#pragma once

#include <string>

namespace sw48230 {

// Why an image cannot be built from a project: enough for the user to find
// the value in the project files.
struct ImageError {
  enum class Item {
    File,       // the file itself: missing or not well-formed
    Element,    // an element of ParGen.xml
    Attribute,  // an attribute of a table row
  };

  std::string file;  // its name, such as "ParGen.xml"
  int row = 0;       // 1-based row of a table file; 0 when not about a row
  Item item = Item::File;
  std::string name;     // of the element or attribute
  std::string problem;  // what is wrong, such as "is missing"

  // 'ParGen.xml is missing',
  // 'ParGen.xml: element CAN_Baud is not a number: "x"',
  // 'var.xml, row 3: attribute IP_Add_B3 is not a number: ""'.
  std::string message() const;

  bool operator==(const ImageError&) const = default;
};

}  // namespace sw48230
