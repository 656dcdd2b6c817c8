// The image build from a project folder: the input holds ParGen.xml,
// var.xml and var2.xml, separated by a line "----". A project that passes
// the checks builds into an image the decoder reads back without a problem.

#include <cstdlib>
#include <string>

#include "core/i18n/message_table.h"
#include "core/image/image_build.h"
#include "core/image/image_decode.h"
#include "core/project/project.h"
#include "core/project/project_checks.h"
#include "fuzz_input.h"

using namespace sw48230;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest = fuzz::as_text(data, size);
  const char* const names[] = {"ParGen.xml", "var.xml", "var2.xml"};
  for (const char* name : names) {
    const auto cut = rest.find("\n----\n");
    fuzz::write_scratch(name, rest.substr(0, cut));
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 6);
  }
  const auto& dir = fuzz::scratch_folder();
  const Project project = Load_Project(dir);
  const bool checked = Check_Project(project, English_Messages(), true).empty();
  ImageBuffers buffers;
  const Result<ImageBuild> build = Build_Image(project, buffers);
  if (!build.ok()) return 0;
  const Result<DecodedImage> decode = Decode_Image(buffers.of(build->kind), Image_File_Name(build->kind));
  if (!decode) std::abort();
  if (checked && !decode->problems.empty()) std::abort();
  return 0;
}
