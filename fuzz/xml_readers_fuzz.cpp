// Every reader of a project or program XML file, on the same bytes.

#include "core/commsettings/comm_settings.h"
#include "core/image/comm_image.h"
#include "core/image/request_image.h"
#include "core/settings/app_settings.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"
#include "fuzz_input.h"

using namespace sw48230;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = fuzz::write_scratch("input.xml", fuzz::as_text(data, size));
  const ParGenFile settings = Read_ParGen_File(file);
  (void)Load_Comm_Settings(settings);
  (void)List_Index_Faults(settings);
  (void)Read_Settings(file);
  (void)Read_Bank_Params(settings);
  General_Block block;
  Read_Communication_Settings(settings, block);
  const TableContext context = Read_Table_Context(settings);
  const RequestsFile rows = Read_Requests_File(file);
  // One table for every input: loading resets it, and 7000 cells made anew
  // for each input would cost more than the parsing under test.
  static RequestTable table;
  for (const TableKind* kind : Table_Kinds()) {
    (void)Load_Requests(*kind, rows, context, table);
    (void)Read_Bank_Rows(*kind, rows);
    (void)Requests_Document(*kind, table);
  }
  return 0;
}
