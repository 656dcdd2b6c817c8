// CSV import of a request table. The first byte picks the table, the
// project's device type and frame format, and whether the rows go to a file
// or to a screen; the rest is the CSV. A CSV either fails or imports. What
// imports exports to a CSV that imports again and exports to the same bytes,
// saves to a document that loads back to the same cells and holds only what
// XML allows, and, imported for a file, passes the table's checks.

#include <cstdlib>
#include <string>

#include "core/common/xml_characters.h"
#include "core/tables/request_checks.h"
#include "core/tables/request_csv.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"
#include "fuzz_input.h"

using namespace sw48230;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned choice = data[0];
  const TableKind& kind = *Table_Kinds()[choice & 1u];
  const TableContext context{static_cast<int>((choice >> 1) & 1u), static_cast<int>((choice >> 2) & 1u), 502};
  const CsvImportFor into = (choice & 8u) != 0 ? CsvImportFor::Screen : CsvImportFor::File;

  const CsvImport imported = Import_Csv(kind, fuzz::as_text(data + 1, size - 1), context, into);
  if (!imported.ok()) {
    if (imported.rows != 0 || imported.requests != 0) std::abort();
    return 0;
  }
  const std::string exported = Export_Csv(kind, imported.table);
  const CsvImport again = Import_Csv(kind, exported, context, into);
  if (!again.ok() || again.requests != imported.requests) std::abort();
  if (Export_Csv(kind, again.table) != exported) std::abort();

  const std::string document = Requests_Document(kind, imported.table);
  if (Check_Loads_Back(kind, imported.table, document) || Find_Non_Xml_Content(document)) std::abort();
  if (into == CsvImportFor::File && !Check_Rows(kind, imported.table, context, false).empty()) std::abort();
  return 0;
}
