#include "core/probe/probe_plan.h"

#include <memory>
#include <string>

#include "core/image/comm_image.h"
#include "core/image/image_build.h"
#include "core/image/image_layout.h"

namespace sw48230 {
namespace {

Result<ProbePlan> plan_records(const std::filesystem::path& pargen_file, const TableInputs& tables) {
  // The records are too large for the stack of a worker thread.
  auto image = std::make_unique<Bank2Image>();
  Read_Communication_Settings(pargen_file, image->general);
  std::vector<int> rows;
  if (auto error = Read_Master_Requests(tables, *image, rows, Read_Table_Context(pargen_file))) return *error;
  ProbePlan plan;
  plan.timeout_ms = image->general.Time_Out;
  plan.requests.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Request_Record& record = image->records[i];
    ProbeRequest request;
    request.table = i < image->general.Request_Count ? &Read_Requests() : &Write_Requests();
    request.row = rows[i];
    request.address = Ip_Address_Text(Ip_Address_Bytes(record.IP_Address));
    request.port = record.Port;
    request.unit_id = record.ID_Modbus;
    request.function = Probe_Function(record.Function);
    request.start = record.Address_Word;
    request.quantity = record.Quantity;
    plan.requests.push_back(std::move(request));
  }
  return plan;
}

// bank.bin keeps a write row's type as 1 for coils and 3 for registers, the
// codes of the matching reads.
std::uint8_t bank_row_function(const TableKind& kind, std::uint8_t type_code) {
  if (&kind == &Read_Requests()) return Probe_Function(type_code);
  return type_code == 1 ? modbus_function::Read_Coils : modbus_function::Read_Holding_Registers;
}

Result<ProbePlan> plan_bank_rows(const std::filesystem::path& pargen_file, const TableInputs& tables) {
  // In the order of the bank.bin build, so that the same fault is named.
  const Result<std::vector<NumberedBankRow>> reads = Read_Bank_Rows(Read_Requests(), tables.reads);
  if (!reads) return reads.failure();
  const Result<std::vector<NumberedBankRow>> writes = Read_Bank_Rows(Write_Requests(), tables.writes);
  if (!writes) return writes.failure();
  const Result<Bank_Params> settings = Read_Bank_Params(pargen_file);
  if (!settings) return settings.failure();
  ProbePlan plan;
  plan.timeout_ms = settings->Time_Out;
  plan.requests.reserve(reads->size() + writes->size());
  for (const auto& [table, rows] : {std::pair{&Read_Requests(), &*reads}, std::pair{&Write_Requests(), &*writes}}) {
    for (const NumberedBankRow& numbered : *rows) {
      const Bank_Row& row = numbered.bank_row;
      ProbeRequest request;
      request.table = table;
      request.row = numbered.row;
      request.address = Ip_Address_Text(row.IP_Address);
      request.port = settings->Port;
      request.unit_id = row.ID_Modbus;
      request.function = bank_row_function(*table, row.Type_Code);
      request.start = row.Address_Word;
      request.quantity = row.Quantity;
      plan.requests.push_back(std::move(request));
    }
  }
  return plan;
}

}  // namespace

Result<ProbePlan> Make_Probe_Plan(const std::filesystem::path& pargen_file, const TableInputs& tables) {
  const Result<bool> type_1 = Is_Device_Type_1(pargen_file);
  if (!type_1) return type_1.failure();
  return *type_1 ? plan_records(pargen_file, tables) : plan_bank_rows(pargen_file, tables);
}

}  // namespace sw48230
