#include "core/image/image_build.h"

#include <array>
#include <memory>
#include <utility>

#include "core/common/atomic_file.h"
#include "core/common/paths.h"
#include "core/commsettings/comm_settings.h"
#include "core/image/byte_order.h"
#include "core/image/comm_image.h"
#include "core/image/request_image.h"

namespace sw48230 {
namespace {

// Neither image can outgrow the buffer a bank has in memory.
static_assert(Bank_Header_Size + 2 * Bank_Table_Row_Limit * Bank_Row_Size + Bank_Params_Size <= Bank_Buffer_Size);
static_assert(Bank2_Size <= Bank_Buffer_Size);

// Each header field of bank.bin is the offset at which its part begins.
void mark_part(Bytes& bank, std::size_t field) {
  image_bytes::put_u32(bank, 4 * field, static_cast<std::uint32_t>(bank.size()));
}

Result<ImageBuild> build_bank(const Project& project, ImageBuffers& buffers) {
  Bytes bank(Bank_Header_Size, 0);
  // The header's first fields mark where each table's rows begin, the next
  // where Bank_Params begins.
  std::size_t field = 0;
  std::array<std::uint16_t, Table_Kind_Count> rows{};
  for (const TableKind* kind : Table_Kinds()) {
    mark_part(bank, field++);
    const Result<std::uint16_t> appended = Append_Bank_Rows(*kind, project.table(*kind), bank);
    if (!appended) return appended.failure();
    rows[kind->index] = *appended;
  }
  mark_part(bank, field);
  const std::uint16_t requests = rows[Read_Requests().index];
  const std::uint16_t settings = rows[Write_Requests().index];
  if (auto error = Write_Bank_Params(project.settings, requests, settings, bank)) return *error;
  buffers.bank = std::move(bank);
  buffers.bank_project = project.dir;
  return ImageBuild{ImageKind::Bank, requests, settings};
}

Result<ImageBuild> build_bank2(const Project& project, ImageBuffers& buffers) {
  // A fresh image: nothing of an earlier build may survive into this one.
  const auto image = std::make_unique<Bank2Image>();
  Read_Communication_Settings(project.settings, image->general);
  if (auto error = Read_Master_Requests(project, *image)) return *error;
  buffers.bank2 = Serialize_Bank2(*image);
  buffers.bank2_project = project.dir;
  return ImageBuild{ImageKind::Bank2, image->general.Request_Count, image->general.Setting_Count};
}

}  // namespace

const char* Image_File_Name(ImageKind kind) { return kind == ImageKind::Bank2 ? "bank2.bin" : "bank.bin"; }

std::filesystem::path Image_File_Path(const std::filesystem::path& project_dir, ImageKind kind) {
  return Bin_Path(project_dir) / Image_File_Name(kind);
}

Result<bool> Is_Device_Type_1(const ParGenFile& file) {
  if (file.missing()) return false;
  if (file.failure) return *file.failure;
  // A plain text comparison, not the number rule.
  return file.text(pargen::Device_Type) == std::to_string(Device_Type_Dip_Switch);
}

Result<ImageBuild> Build_Image(const Project& project, ImageBuffers& buffers) {
  const Result<bool> type_1 = Is_Device_Type_1(project.settings);
  if (!type_1) return type_1.failure();
  // The image would carry a choice other than the one the settings screen
  // shows for the same file.
  if (const auto faults = List_Index_Faults(project.settings); !faults.empty()) {
    return List_Index_Failure(ParGen_File_Name, faults.front());
  }
  return *type_1 ? build_bank2(project, buffers) : build_bank(project, buffers);
}

std::optional<Failure> Write_Image_File(const std::filesystem::path& project_dir, ImageKind kind,
                                        const Bytes& bytes) {
  return write_file_atomically(Image_File_Path(project_dir, kind), as_chars(bytes));
}

std::optional<Failure> Write_Image_Files(const std::filesystem::path& project_dir, const ImageBuffers& buffers) {
  const Bytes no_image;
  for (const ImageKind kind : {ImageKind::Bank, ImageKind::Bank2}) {
    const Bytes& bytes = Same_Folder(buffers.project_of(kind), project_dir) ? buffers.of(kind) : no_image;
    if (auto error = Write_Image_File(project_dir, kind, bytes)) return error;
  }
  return std::nullopt;
}

}  // namespace sw48230
