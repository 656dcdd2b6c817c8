#pragma once

// One run of Update Device's image step: build the image of the project's
// device type into its buffer, then write both image files into the
// project's bin folder.
//
// The updaters rely on both files being written on every run, but a file
// never carries another project's data: the file of the kind not built is
// written from its buffer only when that buffer holds a build of this same
// project (an earlier run before its device type changed), and with 0 bytes
// otherwise: no build of that kind yet, or one for another project opened
// in the same run. A build that fails changes no buffer, and the caller must
// then write nothing: a half-built image would otherwise reach the device
// as if it were complete.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "core/image/image_error.h"
#include "core/image/image_layout.h"
#include "core/image/request_image.h"

namespace sw48230 {

enum class ImageKind {
  Bank,   // bank.bin, for every device type but 1
  Bank2,  // bank2.bin, for device type 1
};

// "bank.bin" or "bank2.bin".
const char* Image_File_Name(ImageKind kind);
// The file in the project's bin folder.
std::filesystem::path Image_File_Path(const std::filesystem::path& project_dir, ImageKind kind);

// The two bank buffers; a buffer's size is its current length. Both are
// empty until the first build of their kind. Whoever runs builds owns one:
// the main window for the whole program run, the command-line tool a fresh
// one per command.
struct ImageBuffers {
  Bytes bank;
  Bytes bank2;
  // The project folder each buffer was last built for; empty before the
  // first build of its kind.
  std::filesystem::path bank_project;
  std::filesystem::path bank2_project;

  const Bytes& of(ImageKind kind) const { return kind == ImageKind::Bank2 ? bank2 : bank; }
  const std::filesystem::path& project_of(ImageKind kind) const {
    return kind == ImageKind::Bank2 ? bank2_project : bank_project;
  }
};

// Device type 1 only when Device_Type reads exactly "1": " 1" and "01" take
// the bank.bin build, like a missing file or element. A file that exists but
// cannot be parsed fails, which stops the action whatever the device type.
Result<bool> Is_Device_Type_1(const ParGenFile& file);

struct ImageBuild {
  ImageKind kind = ImageKind::Bank;  // the image of the project's device type
  // What the image holds from each table: records of bank2.bin, rows of
  // bank.bin.
  std::size_t requests = 0;
  std::size_t settings = 0;
};

// Builds the image of the project's device type into its buffer, which then
// belongs to the project's folder: bank2.bin from the
// enabled rows, or bank.bin from every row. The other buffer is not touched.
// A failure means the action is to be abandoned, and then no buffer was
// changed; its Failure_Message names the file and, where it applies, the row and
// the attribute or element.
Result<ImageBuild> Build_Image(const Project& project, ImageBuffers& buffers);

// Writes one image file atomically. The bin folder must exist: it is created
// with the project, and one that has gone is reported rather than made again.
std::optional<Failure> Write_Image_File(const std::filesystem::path& project_dir, ImageKind kind,
                                                const Bytes& bytes);

// Writes bin/bank.bin and then bin/bank2.bin of the project in
// `project_dir`, each from its buffer when that buffer was built for this
// project, else with 0 bytes; the first file that cannot be written is
// reported and ends the writing.
std::optional<Failure> Write_Image_Files(const std::filesystem::path& project_dir, const ImageBuffers& buffers);

}  // namespace sw48230
