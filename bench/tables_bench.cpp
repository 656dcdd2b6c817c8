// The request tables with all 512 rows in use: loading var.xml into the
// screen's model, and the checks and save of OK.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/tables/request_checks.h"
#include "gui/tables/request_table_model.h"

namespace {

using namespace sw48230;

std::filesystem::path bench_folder() {
  static const std::filesystem::path folder = [] {
    std::random_device seed;
    auto path = std::filesystem::temp_directory_path() / ("sw48230-bench-" + std::to_string(seed()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

RequestTable full_table() {
  RequestTable table;
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    const std::vector<std::string> cells = {"Y",
                                            std::to_string(row),
                                            CAN_Type_11_Bits,
                                            "192.168.0." + std::to_string(row % 250),
                                            "502",
                                            "1",
                                            "Holding Register",
                                            std::to_string(row * 4),
                                            "4",
                                            "1000",
                                            "0",
                                            "N",
                                            "request " + std::to_string(row)};
    for (int col = 1; col < RequestTable::ColCount; ++col)
      table.cell(row, col) = cells[static_cast<std::size_t>(col - 1)];
  }
  return table;
}

constexpr TableContext Dip_Switch{1, 0, 502};

void LoadIntoModel(benchmark::State& state) {
  const auto file = bench_folder() / "var.xml";
  if (Save_Requests(Read_Requests(), file, full_table())) state.SkipWithError("cannot write var.xml");
  RequestTable table;
  RequestTableModel model(
      table, [](int, int, std::string) {}, nullptr);
  for (auto _ : state) {
    const RequestLoad loaded = Load_Requests(Read_Requests(), file, Dip_Switch, table);
    model.Table_Changed();
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(LoadIntoModel)->Unit(benchmark::kMillisecond);

void CheckAndSave(benchmark::State& state) {
  const auto file = bench_folder() / "var_saved.xml";
  const RequestTable table = full_table();
  for (auto _ : state) {
    if (Controllo_dati(Read_Requests(), table, Dip_Switch)) state.SkipWithError("a row failed its checks");
    if (Save_Requests(Read_Requests(), file, table)) state.SkipWithError("cannot write var.xml");
  }
}
BENCHMARK(CheckAndSave)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(bench_folder());
  return 0;
}
