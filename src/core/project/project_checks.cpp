#include "core/project/project_checks.h"

#include "core/common/failure.h"
#include "core/commsettings/comm_settings.h"
#include "core/project/project.h"
#include "core/tables/request_checks.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"

namespace sw48230 {
namespace {

class Failures {
 public:
  Failures(const std::vector<std::string>& messages, bool first_only) : messages_(messages), first_only_(first_only) {}

  // False once no more failures are wanted.
  bool add(const std::string& file, std::string text) {
    list_.push_back({file, std::move(text)});
    return !done();
  }
  bool done() const { return first_only_ && !list_.empty(); }
  bool first_only() const { return first_only_; }
  const std::string& message(int index) const {
    static const std::string none;
    return index >= 0 && static_cast<std::size_t>(index) < messages_.size() ? messages_[static_cast<std::size_t>(index)]
                                                                            : none;
  }
  std::string message(int index, const std::vector<std::string>& values) const {
    return Fill_Placeholders(message(index), values);
  }
  std::vector<ProjectCheckFailure> take() { return std::move(list_); }

 private:
  const std::vector<std::string>& messages_;
  bool first_only_;
  std::vector<ProjectCheckFailure> list_;
};

void check_settings(const ParGenFile& file, Failures& failures) {
  const Result<CommSettings> loaded = Load_Comm_Settings(file);
  if (!loaded) {
    // The screen would show the values of an empty file; checking those
    // would only hide what is wrong.
    failures.add(ParGen_File_Name, failures.message(Msg_Check_Cannot_Be_Read, {loaded.failure().reason}));
    return;
  }
  for (const ListIndexFault& fault : List_Index_Faults(file)) {
    const std::string text =
        fault.list_size == 0
            ? failures.message(Msg_Check_Element_Not_Exactly_1, {fault.element, fault.text})
            : failures.message(Msg_Check_Element_Outside_List,
                               {fault.element, std::to_string(fault.list_size - 1), fault.text});
    if (!failures.add(ParGen_File_Name, text)) return;
  }
  if (const auto failed = Controllo_Dati(*loaded))
    failures.add(ParGen_File_Name, failures.message(failed->message));
}

void check_table(const TableKind& kind, const Project& project, Failures& failures) {
  const TableContext context = project.table_context();
  RequestTable table;
  const Result<RequestLoad> loaded = Load_Requests(kind, project.table(kind), context, table);
  if (!loaded) {
    // The table of a file that cannot be read is empty: nothing more to check.
    failures.add(kind.file_name, failures.message(Msg_Check_Cannot_Be_Read, {loaded.failure().reason}));
    return;
  }
  if (loaded->rows_left_out > 0) {
    const std::string last_row = std::to_string(RequestTable::Data_Rows);
    const std::string text =
        loaded->rows_left_out == 1
            ? failures.message(Msg_Check_Row_Not_Checked, {last_row})
            : failures.message(Msg_Check_Rows_Not_Checked, {std::to_string(loaded->rows_left_out), last_row});
    if (!failures.add(kind.file_name, text)) return;
  }
  for (const RowFailure& failure : Check_Rows(kind, table, context, failures.first_only())) {
    const std::string text = Row_Failure_Text(kind, failure, [&](int index) { return failures.message(index); });
    if (!failures.add(kind.file_name, text)) return;
  }
}

}  // namespace

std::vector<ProjectCheckFailure> Check_Project(const Project& project, const std::vector<std::string>& messages,
                                               bool first_only) {
  Failures failures(messages, first_only);
  check_settings(project.settings, failures);
  for (const TableKind* kind : Table_Kinds()) {
    if (!failures.done()) check_table(*kind, project, failures);
  }
  return failures.take();
}

}  // namespace sw48230
