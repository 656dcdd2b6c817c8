#include "core/project/project_checks.h"

#include "core/common/failure.h"
#include "core/commsettings/comm_settings.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"
#include "core/project/project.h"
#include "core/tables/request_checks.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"

namespace sw48230 {
namespace {

class Failures {
 public:
  Failures(const MessageTable& messages, bool first_only) : messages_(messages), first_only_(first_only) {}

  // False once no more failures are wanted.
  bool add(const std::string& file, std::string text) {
    list_.push_back({file, std::move(text)});
    return !done();
  }
  bool add(const Failure& failure) { return add(failure.file, Failure_Text(messages_, failure)); }
  bool done() const { return first_only_ && !list_.empty(); }
  bool first_only() const { return first_only_; }
  const MessageTable& messages() const { return messages_; }
  std::vector<ProjectCheckFailure> take() { return std::move(list_); }

 private:
  const MessageTable& messages_;
  bool first_only_;
  std::vector<ProjectCheckFailure> list_;
};

void check_settings(const ParGenFile& file, Failures& failures) {
  const Result<CommSettings> loaded = Load_Comm_Settings(file);
  if (!loaded) {
    // The screen would show the values of an empty file; checking those
    // would only hide what is wrong.
    failures.add(Cannot_Be_Read(ParGen_File_Name, loaded.failure().reason));
    return;
  }
  for (const ListIndexFault& fault : List_Index_Faults(file)) {
    if (!failures.add(List_Index_Failure(ParGen_File_Name, fault))) return;
  }
  if (const auto failed = Controllo_Dati(*loaded)) {
    failures.add(ParGen_File_Name, Failure_Message(failures.messages(), *failed));
  }
}

void check_table(const TableKind& kind, const Project& project, Failures& failures) {
  const TableContext context = project.table_context();
  RequestTable table;
  const Result<RequestLoad> loaded = Load_Requests(kind, project.table(kind), context, table);
  if (!loaded) {
    // The table of a file that cannot be read is empty: nothing more to check.
    failures.add(Cannot_Be_Read(kind.file_name, loaded.failure().reason));
    return;
  }
  if (loaded->rows_left_out > 0) {
    const std::string last_row = std::to_string(RequestTable::Data_Rows);
    const std::string text = loaded->rows_left_out == 1
                                 ? Fill_Placeholders(failures.messages().text(Msg_Check_Row_Not_Checked), {last_row})
                                 : Fill_Placeholders(failures.messages().text(Msg_Check_Rows_Not_Checked),
                                                     {std::to_string(loaded->rows_left_out), last_row});
    if (!failures.add(kind.file_name, text)) return;
  }
  for (const RowFailure& failure : Check_Rows(kind, table, context, failures.first_only())) {
    if (!failures.add(kind.file_name, Failure_Message(failures.messages(), kind, failure))) return;
  }
}

}  // namespace

std::vector<ProjectCheckFailure> Check_Project(const Project& project, const MessageTable& messages, bool first_only) {
  Failures failures(messages, first_only);
  check_settings(project.settings, failures);
  for (const TableKind* kind : Table_Kinds()) {
    if (!failures.done()) check_table(*kind, project, failures);
  }
  return failures.take();
}

}  // namespace sw48230
