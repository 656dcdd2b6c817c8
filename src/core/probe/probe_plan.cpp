#include "core/probe/probe_plan.h"

#include <array>
#include <memory>
#include <string>

#include "core/image/comm_image.h"
#include "core/image/image_build.h"
#include "core/image/image_layout.h"

namespace sw48230 {
namespace {

Result<ProbePlan> plan_records(const Project& project) {
  // The records are too large for the stack of a worker thread.
  auto image = std::make_unique<Bank2Image>();
  Read_Communication_Settings(project.settings, image->general);
  std::vector<RecordSource> rows;
  if (auto error = Read_Master_Requests(project, *image, rows)) return *error;
  ProbePlan plan;
  plan.timeout_ms = image->general.Time_Out;
  plan.requests.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Request_Record& record = image->records[i];
    ProbeRequest request;
    request.table = rows[i].kind;
    request.row = rows[i].row;
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
  if (!kind.writes) return Probe_Function(type_code);
  return type_code == 1 ? modbus_function::Read_Coils : modbus_function::Read_Holding_Registers;
}

Result<ProbePlan> plan_bank_rows(const Project& project) {
  // In the order of the bank.bin build, so that the same fault is named.
  std::array<std::vector<NumberedBankRow>, Table_Kind_Count> tables;
  for (const TableKind* kind : Table_Kinds()) {
    Result<std::vector<NumberedBankRow>> rows = Read_Bank_Rows(*kind, project.table(*kind));
    if (!rows) return rows.failure();
    tables[kind->index] = std::move(*rows);
  }
  const Result<Bank_Params> settings = Read_Bank_Params(project.settings);
  if (!settings) return settings.failure();
  ProbePlan plan;
  plan.timeout_ms = settings->Time_Out;
  for (const TableKind* table : Table_Kinds()) {
    for (const NumberedBankRow& numbered : tables[table->index]) {
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

Result<ProbePlan> Make_Probe_Plan(const Project& project) {
  const Result<bool> type_1 = Is_Device_Type_1(project.settings);
  if (!type_1) return type_1.failure();
  return *type_1 ? plan_records(project) : plan_bank_rows(project);
}

}  // namespace sw48230
