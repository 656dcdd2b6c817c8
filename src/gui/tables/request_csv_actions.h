#pragma once

#include <QObject>
#include <filesystem>
#include <functional>

#include "core/tables/request_file.h"
#include "gui/ui/context.h"

class QPushButton;
class QWidget;

namespace sw48230 {

// The Export... and Import... buttons of a request screen. Export writes the
// rows as the screen shows them, unsaved changes included; an import is all
// or nothing: any failing line leaves the rows as they were and lists every
// failure, else the imported rows replace the screen's, which OK saves. Rows
// without a Cob-ID come back at their places; a file without requests
// empties the table only when the user says Yes.
class RequestCsvActions final : public QObject {
  Q_OBJECT
 public:
  struct Hooks {
    // The rows shown, an edit still open included.
    std::function<const RequestTable&()> shown;
    // The project's device type and frame format, which the row checks need.
    std::function<const TableContext&()> table_context;
    // The table's file, beside which the dialogs open.
    std::function<std::filesystem::path()> table_file;
    // Puts the imported rows in place of the screen's, as one change.
    std::function<void(const RequestTable&)> replace;
  };

  RequestCsvActions(QWidget* screen, const TableKind& kind, const Context& context, Hooks hooks);

  QPushButton* export_button() const { return Btn_Export; }
  QPushButton* import_button() const { return Btn_Import; }

  void Set_Lang();

 private:
  void Btn_ExportClick();
  void Btn_ImportClick();
  QString text(int index) const;
  QString start_path() const;
  QString filter() const;

  QWidget* screen_;
  const TableKind& kind_;
  Context context_;
  Hooks hooks_;
  QPushButton* Btn_Export;
  QPushButton* Btn_Import;
};

}  // namespace sw48230
