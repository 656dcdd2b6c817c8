#include "core/image/image_error.h"

#include <utility>
#include <vector>

namespace sw48230 {

ImageError Too_Many_Rows(std::string file, int rows, int limit) {
  std::vector<std::string> values{file, std::to_string(rows), std::to_string(limit)};
  return ImageError{std::move(file), 0, ImageError::Item::File, {}, {}, Msg_Failure_Too_Many_Rows, std::move(values)};
}

ImageError Too_Many_Enabled_Rows(std::string file, int row, int record, int records) {
  std::vector<std::string> values{file, std::to_string(row), std::to_string(record), std::to_string(records)};
  return ImageError{std::move(file), row, ImageError::Item::File, {}, {}, Msg_Failure_Too_Many_Enabled_Rows,
                    std::move(values)};
}

ImageError Not_An_Image(std::string file, std::string reason) {
  std::vector<std::string> values{file, reason};
  return ImageError{std::move(file), 0, ImageError::Item::File, {}, std::move(reason), Msg_Failure_Not_An_Image,
                    std::move(values)};
}

}  // namespace sw48230
