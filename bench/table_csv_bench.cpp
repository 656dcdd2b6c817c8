// CSV export and import of a request table with all 512 rows in use, as the
// Export… and Import… of the request screens and the CLI run them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "full_table.h"
#include "core/tables/request_csv.h"

namespace {

using namespace sw48230;

constexpr TableContext Dip_Switch{1, 0, 502};

// Mnemonics that need quoting, as descriptions from spreadsheets often do.
RequestTable quoted_table() {
  RequestTable table = bench::full_table();
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) table.cell(row, Col_Mnemonic) += ", \"quoted\"";
  return table;
}

void Export512(benchmark::State& state) {
  const RequestTable table = quoted_table();
  for (auto _ : state) {
    std::string csv = Export_Csv(Read_Requests(), table);
    benchmark::DoNotOptimize(csv);
  }
}
BENCHMARK(Export512)->Unit(benchmark::kMillisecond);

// Parsing, the row checks of every line and the new table.
void Import512(benchmark::State& state) {
  const std::string csv = Export_Csv(Read_Requests(), quoted_table());
  for (auto _ : state) {
    CsvImport imported = Import_Csv(Read_Requests(), csv, Dip_Switch, CsvImportFor::File);
    if (!imported.ok()) state.SkipWithError("a line failed");
    benchmark::DoNotOptimize(imported);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(csv.size()));
}
BENCHMARK(Import512)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
