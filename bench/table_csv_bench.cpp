// CSV export and import of a request table with all 512 rows in use, as the
// Export… and Import… of the request screens and the CLI run them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/tables/request_csv.h"

namespace {

using namespace sw48230;

constexpr TableContext Dip_Switch{1, 0, 502};

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
                                            "request " + std::to_string(row) + ", \"quoted\""};
    for (int col = 1; col < RequestTable::ColCount; ++col) {
      table.cell(row, col) = cells[static_cast<std::size_t>(col - 1)];
    }
  }
  return table;
}

void Export512(benchmark::State& state) {
  const RequestTable table = full_table();
  for (auto _ : state) {
    std::string csv = Export_Csv(Read_Requests(), table);
    benchmark::DoNotOptimize(csv);
  }
}
BENCHMARK(Export512)->Unit(benchmark::kMillisecond);

// Parsing, the row checks of every line and the new table.
void Import512(benchmark::State& state) {
  const std::string csv = Export_Csv(Read_Requests(), full_table());
  for (auto _ : state) {
    CsvImport imported = Import_Csv(Read_Requests(), csv, Dip_Switch);
    if (!imported.ok()) state.SkipWithError("a line failed");
    benchmark::DoNotOptimize(imported);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(csv.size()));
}
BENCHMARK(Import512)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
