// Update Device's image build on the largest project the table screens
// allow: 512 read and 512 write requests, all enabled. Goal: under 1 ms for
// the bank2.bin build. The bank.bin build of the same rows is measured
// beside it, since it reads every attribute and sorts.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "core/commsettings/comm_settings.h"
#include "core/image/image_build.h"
#include "core/project/project.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;

// A full table as its screen saves it, Cob-IDs in descending order so that
// the bank.bin sort has work to do.
void save_full_table(const TableKind& kind, const fs::path& file) {
  // Cells shared by every row, as strings: assigning literals to the cells
  // gives a false -Wrestrict from GCC 12 at -O3.
  const std::string can_type = CAN_Type_11_Bits, port = "502", quantity = "4", poll_time = "100", max_error = "3";
  RequestTable table;
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    table.cell(row, Col_Enable) = Tick_Yes;
    table.cell(row, Col_COB) = std::to_string(RequestTable::Data_Rows - row + 1);
    table.cell(row, Col_CAN_Type) = can_type;
    table.cell(row, Col_IP) = "192.168.0." + std::to_string(row % 250 + 1);
    table.cell(row, Col_Port) = port;
    table.cell(row, Col_ID_Modbus) = std::to_string(row % 247 + 1);
    table.cell(row, Col_Type) = kind.type_texts.back();
    table.cell(row, Col_Address) = std::to_string(row * 4);
    table.cell(row, Col_NPoint) = quantity;
    table.cell(row, Col_Poll_Time) = poll_time;
    table.cell(row, Col_Max_Error) = max_error;
    table.cell(row, Col_Swap) = Tick_No;
    table.cell(row, Col_Mnemonic) = "Request " + std::to_string(row);
  }
  Save_Requests(kind, file, table);
}

class FullProject {
 public:
  explicit FullProject(int device_type)
      : dir_(fs::temp_directory_path() /
             ("sw48230-bench-" + std::to_string(std::random_device()()) + '-' + std::to_string(device_type))) {
    fs::create_directories(dir_);
    CommSettings settings;
    settings.Device_Type = device_type;
    Save_Comm_Settings(dir_ / "ParGen.xml", settings);
    save_full_table(Read_Requests(), dir_ / "var.xml");
    save_full_table(Write_Requests(), dir_ / "var2.xml");
  }
  ~FullProject() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  FullProject(const FullProject&) = delete;
  FullProject& operator=(const FullProject&) = delete;

  Result<ImageBuild> build(ImageBuffers& buffers) const { return Build_Image(Load_Project(dir_), buffers); }

 private:
  fs::path dir_;
};

void run(benchmark::State& state, int device_type, std::size_t expected_size) {
  const FullProject project(device_type);
  ImageBuffers buffers;
  for (auto _ : state) {
    const Result<ImageBuild> build = project.build(buffers);
    benchmark::DoNotOptimize(buffers);
    if (!build.ok() || build->requests + build->settings != 1024 || buffers.of(build->kind).size() != expected_size) {
      state.SkipWithError("the build did not give the expected image");
      return;
    }
  }
}

void BM_Build_Image_Bank2(benchmark::State& state) { run(state, Device_Type_Dip_Switch, Bank2_Size); }
void BM_Build_Image_Bank(benchmark::State& state) { run(state, Device_Type_Jumper, 36 + 13 * 1024); }

BENCHMARK(BM_Build_Image_Bank2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Build_Image_Bank)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sw48230

BENCHMARK_MAIN();
