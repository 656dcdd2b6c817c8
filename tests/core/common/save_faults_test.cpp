// Every file the program writes, on a disk that is full or read-only: the
// save reports an error and the old file stays as it was.

#ifndef _WIN32

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <optional>

#include "core/commsettings/comm_settings.h"
#include "core/image/image_build.h"
#include "core/settings/app_settings.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"
#include "core/update/ethernet_update.h"
#include "support/small_tmpfs.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;

struct Save {
  const char* name;
  fs::path file;  // relative to the disk
  std::function<std::optional<Failure>(const fs::path& disk)> run;
};

std::vector<Save> saves() {
  RequestTable table;
  table.cell(1, Col_COB) = "100";
  table.cell(1, Col_IP) = "10.0.0.1";
  return {
      {"ParGen.xml", ParGen_File_Name,
       [](const fs::path& disk) { return Save_Comm_Settings(disk / ParGen_File_Name, CommSettings{}); }},
      {"var.xml", Read_Requests().file_name,
       [table](const fs::path& disk) {
         return Save_Requests(Read_Requests(), disk / Read_Requests().file_name, table);
       }},
      {"var2.xml", Write_Requests().file_name,
       [table](const fs::path& disk) {
         return Save_Requests(Write_Requests(), disk / Write_Requests().file_name, table);
       }},
      {"application settings", "Velstrom.xml",
       [](const fs::path& disk) { return Save_Setting(disk / "Velstrom.xml", AppSettings{}); }},
      {"Ethernet_Update.xml", "Ethernet_Update.xml",
       [](const fs::path& disk) {
         return Compile_XML_Parameter(disk, "192.168.0.10", UpdateChoices{}, disk / "MASTER", disk / "P");
       }},
      {"bank2.bin", fs::path("bin") / "bank2.bin",
       [](const fs::path& disk) {
         ImageBuffers buffers;
         buffers.bank2.assign(Bank2_Size, 7);
         buffers.bank2_project = disk;
         return Write_Image_Files(disk, buffers);
       }},
  };
}

enum class Fault { Full, Read_Only };

void run_faulty_saves(Fault fault) {
  for (const Save& save : saves()) {
    SCOPED_TRACE(save.name);
    test::TempDir temp;
    const fs::path disk = temp / "disk";
    fs::create_directory(disk);
    test::SmallTmpfs tmpfs(disk, 256 * 1024);
    if (!tmpfs.error().empty()) GTEST_SKIP() << tmpfs.error();

    fs::create_directories((disk / save.file).parent_path());
    const std::string old_content = "the old file";
    test::write_file(disk / save.file, old_content);
    // bank.bin is written before bank2.bin; give it its old file too.
    if (save.file.filename() == "bank2.bin") test::write_file(disk / "bin" / "bank.bin", old_content);
    ASSERT_EQ(test::read_file(disk / save.file), old_content);

    if (fault == Fault::Full) {
      tmpfs.fill();
    } else {
      ASSERT_TRUE(tmpfs.make_read_only());
    }
    const std::optional<Failure> failure = save.run(disk);
    ASSERT_TRUE(failure.has_value()) << "the save reported success";
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_EQ(test::read_file(disk / save.file), old_content);
    for (const auto& entry : fs::directory_iterator(disk / save.file.parent_path())) {
      EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << "left behind: " << entry.path();
    }
  }
}

TEST(SaveFaults, DiskFullKeepsEveryOldFile) { run_faulty_saves(Fault::Full); }

TEST(SaveFaults, ReadOnlyDiskKeepsEveryOldFile) { run_faulty_saves(Fault::Read_Only); }

}  // namespace
}  // namespace sw48230

#endif
