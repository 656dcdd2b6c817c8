#include "gui/tables/request_csv_actions.h"

#include <QPushButton>
#include <algorithm>
#include <string>

#include "core/common/atomic_file.h"
#include "core/common/paths.h"
#include "core/i18n/message_table.h"
#include "core/tables/request_csv.h"
#include "core/tables/request_tools_messages.h"
#include "core/tables/table_report_messages.h"
#include "gui/ui/file_dialogs.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {
namespace {

// A box taller than the screen would hide its OK button: the first failures
// are enough to mend the file by, the rest are counted.
constexpr int Failures_Listed = 20;

bool has_requests(const RequestTable& table) {
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    if (table.Row_In_Use(row)) return true;
  }
  return false;
}

}  // namespace

RequestCsvActions::RequestCsvActions(QWidget* screen, const TableKind& kind, const Context& context, Hooks hooks)
    : QObject(screen),
      screen_(screen),
      kind_(kind),
      context_(context),
      hooks_(std::move(hooks)),
      Btn_Export(make_named<QPushButton>(screen, "Btn_Export")),
      Btn_Import(make_named<QPushButton>(screen, "Btn_Import")) {
  for (QPushButton* button : {Btn_Export, Btn_Import}) button->setAutoDefault(false);  // Enter belongs to the grid
  connect(Btn_Export, &QPushButton::clicked, this, &RequestCsvActions::Btn_ExportClick);
  connect(Btn_Import, &QPushButton::clicked, this, &RequestCsvActions::Btn_ImportClick);
  Set_Lang();
}

QString RequestCsvActions::text(int index) const { return message(context_.messages, index); }

void RequestCsvActions::Set_Lang() {
  set_caption(Btn_Export, text(Msg_Csv_Export), text(Msg_Csv_Export_Hint));
  set_caption(Btn_Import, text(Msg_Csv_Import), text(Msg_Csv_Import_Hint));
}

// The dialogs open in the project's folder, at the table file's name.
QString RequestCsvActions::start_path() const {
  std::filesystem::path file = hooks_.table_file();
  return to_qstring(path_to_utf8(file.replace_extension(".csv")));
}

QString RequestCsvActions::filter() const { return text(Msg_Csv_Files) + QStringLiteral(" (*.csv)"); }

void RequestCsvActions::Btn_ExportClick() {
  const std::string csv = Export_Csv(kind_, hooks_.shown());
  const QString chosen = context_.services.files.save_file(screen_, text(Msg_Csv_Export_Title), start_path(), filter());
  if (chosen.isEmpty()) return;
  const std::filesystem::path file = path_from_utf8(to_utf8(chosen));
  if (const auto failure = write_file_atomically(file, csv)) {
    context_.services.boxes.error(screen_, failure_text(context_.messages, *failure, file));
  }
}

void RequestCsvActions::Btn_ImportClick() {
  const QString chosen = context_.services.files.open_file(screen_, text(Msg_Csv_Import_Title), start_path(), filter());
  if (chosen.isEmpty()) return;
  const std::filesystem::path file = path_from_utf8(to_utf8(chosen));
  const CsvImport imported = Import_Csv_File(kind_, file, hooks_.table_context(), CsvImportFor::Screen);
  if (imported.ok()) {
    if (imported.requests == 0 && has_requests(hooks_.shown()) &&
        !context_.services.boxes.question(screen_, path_and_reason(file, text(Msg_Csv_Empties_Table)))) {
      return;
    }
    hooks_.replace(imported.table);
    return;
  }
  QString report = path_and_reason(file, text(Msg_Csv_Import_Failed));
  const int failures = static_cast<int>(imported.failures.size());
  for (int i = 0; i < std::min(failures, Failures_Listed); ++i) {
    report += QLatin1Char('\n') + to_qstring(Failure_Message(context_.messages, imported.failures[i]));
  }
  if (failures > Failures_Listed) {
    report += QLatin1Char('\n') +
              text(Msg_Csv_More_Failures).replace(QLatin1String("%1"), QString::number(failures - Failures_Listed));
  }
  context_.services.boxes.error(screen_, report);
}

}  // namespace sw48230
