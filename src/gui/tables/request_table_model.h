#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <map>
#include <string>

#include "core/probe/tested_rows.h"
#include "core/tables/request_file.h"
#include "core/tables/request_table.h"
#include "core/tables/table_kind.h"

namespace sw48230 {

// The Qt view of a request table: rows 1 to 512 of the core table, its
// column titles and their hints. Check-box cells show as check boxes and
// keep "Y" / "N"; every other cell is its text. A user's change of a cell
// goes to `edit` (table row, column, new text), which writes it so that it
// can be undone. After the table's columns comes the result column of a
// test of the requests: shown only, never part of the table, its file or
// its undo, and only on a row that still holds the request tested.
class RequestTableModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  using CellEditor = std::function<void(int row, int col, std::string text)>;

  static constexpr int Col_Result = RequestTable::ColCount;

  RequestTableModel(RequestTable& table, const TestedRows& tested, CellEditor edit, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void setTitles(QStringList titles, QStringList hints);

  // After the core table changed behind the model's back (load, row
  // operations).
  void Table_Changed();
  void Cell_Changed(int row, int col);

  // The status words of the result column, in the order of ProbeStatus.
  void Set_Status_Words(QStringList words) { status_words_ = std::move(words); }
  // After the tested rows or their results changed.
  void Results_Changed();

  // The project's device type and frame format, by which a Cob-ID's hint
  // shows its hex value.
  void Set_Context(const TableContext& context) { context_ = context; }

  // The rows of the network warnings, each with the reasons as its cells'
  // hint; the rows are highlighted. Replaces the earlier warnings.
  void Set_Warnings(std::map<int, QString> hints);

  // Model rows are table rows 1 to 512.
  static int table_row(const QModelIndex& index) { return index.row() + 1; }

 private:
  RequestTable& table_;
  CellEditor edit_;
  QStringList titles_;
  QStringList hints_;
  const TestedRows& tested_;
  QStringList status_words_;
  TableContext context_;
  std::map<int, QString> warnings_;  // by table row
};

// A result as the result column shows it: the status word of
// `status_words` (in the order of ProbeStatus) and the values, the
// exception or the reason.
QString Probe_Result_Text(const ProbeResult& result, const QStringList& status_words);

}  // namespace sw48230
