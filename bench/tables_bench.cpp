// The request tables with all 512 rows in use: loading var.xml into the
// screen's model, and the checks and save of OK.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "full_table.h"
#include "core/tables/request_checks.h"
#include "gui/tables/request_table_model.h"

namespace {

using namespace sw48230;
using bench::full_table;

std::filesystem::path bench_folder() {
  static const std::filesystem::path folder = [] {
    std::random_device seed;
    auto path = std::filesystem::temp_directory_path() / ("sw48230-bench-" + std::to_string(seed()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

constexpr TableContext Dip_Switch{1, 0, 502};

void LoadIntoModel(benchmark::State& state) {
  const auto file = bench_folder() / "var.xml";
  if (Save_Requests(Read_Requests(), file, full_table())) state.SkipWithError("cannot write var.xml");
  RequestTable table;
  const TestedRows tested;
  RequestTableModel model(
      table, tested, [](int, int, std::string) {}, nullptr);
  for (auto _ : state) {
    const Result<RequestLoad> loaded = Load_Requests(Read_Requests(), Read_Requests_File(file), Dip_Switch, table);
    model.Table_Changed();
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(LoadIntoModel)->Unit(benchmark::kMillisecond);

void CheckAndSave(benchmark::State& state) {
  const auto file = bench_folder() / "var_saved.xml";
  const RequestTable table = full_table();
  for (auto _ : state) {
    if (Controllo_Dati(Read_Requests(), table, Dip_Switch)) state.SkipWithError("a row failed its checks");
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
