#include "core/image/image_error.h"

namespace sw48230 {

std::string ImageError::message() const {
  if (item == Item::File) return file + ' ' + problem;
  std::string text = file;
  if (row > 0) text += ", row " + std::to_string(row);
  text += item == Item::Element ? ": element " : ": attribute ";
  return text + name + ' ' + problem;
}

}  // namespace sw48230
