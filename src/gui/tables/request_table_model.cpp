#include "gui/tables/request_table_model.h"

#include <QBrush>
#include <QColor>

#include "core/tables/cob_id_hex.h"
#include "gui/ui/texts.h"

namespace sw48230 {

RequestTableModel::RequestTableModel(RequestTable& table, const TestedRows& tested, CellEditor edit, QObject* parent)
    : QAbstractTableModel(parent), table_(table), edit_(std::move(edit)), tested_(tested) {}

int RequestTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RequestTable::Data_Rows;
}

int RequestTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RequestTable::ColCount + 1;
}

QVariant RequestTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (index.column() == Col_Result) {
    const ProbeResult* result = tested_.Shown(table_, table_row(index));
    if (result == nullptr) return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return Probe_Result_Text(*result, status_words_);
    if (role == Qt::ForegroundRole) return QBrush(result->ok() ? QColor(0, 128, 0) : QColor(192, 0, 0));
    return {};
  }
  const int row = table_row(index);
  const std::string& cell = table_.cell(row, index.column());
  const auto warning = warnings_.find(row);
  // Dark text on a light background, whatever the palette, so a warned row
  // stays readable in a dark theme too.
  if (role == Qt::BackgroundRole && warning != warnings_.end()) return QBrush(QColor(255, 226, 140));
  if (role == Qt::ForegroundRole && warning != warnings_.end()) return QBrush(QColor(Qt::black));
  if (role == Qt::ToolTipRole) {
    QStringList hints;
    if (index.column() == Col_COB) {
      if (const auto hex = Cob_ID_Hex(cell, Extended_Frame(table_, row, context_))) hints.append(to_qstring(*hex));
    }
    if (warning != warnings_.end()) hints.append(warning->second);
    if (hints.isEmpty()) return {};
    return hints.join(QLatin1Char('\n'));
  }
  if (RequestTable::kind(index.column()) == ColumnKind::CheckBox) {
    if (role == Qt::CheckStateRole) return Is_Ticked(cell) ? Qt::Checked : Qt::Unchecked;
    return {};
  }
  if (role == Qt::DisplayRole || role == Qt::EditRole) return to_qstring(cell);
  if (role == Qt::TextAlignmentRole && index.column() == Col_Number) return int(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

bool RequestTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() == Col_Number || index.column() == Col_Result) return false;
  std::string text;
  if (RequestTable::kind(index.column()) == ColumnKind::CheckBox) {
    if (role != Qt::CheckStateRole) return false;
    text = value.value<Qt::CheckState>() == Qt::Checked ? Tick_Yes : Tick_No;
  } else {
    if (role != Qt::EditRole) return false;
    text = to_utf8(value.toString());
  }
  // An edit left without a change is no step to undo.
  if (text != table_.cell(table_row(index), index.column())) edit_(table_row(index), index.column(), std::move(text));
  return true;
}

Qt::ItemFlags RequestTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (index.column() == Col_Result) return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  switch (RequestTable::kind(index.column())) {
    case ColumnKind::Number:
      return Qt::ItemIsEnabled;
    case ColumnKind::CheckBox:
      return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    default:
      return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
  }
}

QVariant RequestTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= titles_.size()) return {};
  if (role == Qt::DisplayRole) return titles_[section];
  if (role == Qt::ToolTipRole && !hints_[section].isEmpty()) return hints_[section];
  return {};
}

void RequestTableModel::setTitles(QStringList titles, QStringList hints) {
  titles_ = std::move(titles);
  hints_ = std::move(hints);
  emit headerDataChanged(Qt::Horizontal, 0, Col_Result);
}

void RequestTableModel::Results_Changed() { emit dataChanged(index(0, Col_Result), index(rowCount() - 1, Col_Result)); }

void RequestTableModel::Set_Warnings(std::map<int, QString> hints) {
  if (hints == warnings_) return;
  warnings_ = std::move(hints);
  emit dataChanged(index(0, 0), index(rowCount() - 1, Col_Result - 1),
                   {Qt::BackgroundRole, Qt::ForegroundRole, Qt::ToolTipRole});
}

// Every cell may have changed, but no row came or went: the view keeps its
// current cell.
void RequestTableModel::Table_Changed() { emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1)); }

// The row's result shows only while the row holds what was tested.
void RequestTableModel::Cell_Changed(int row, int col) {
  const QModelIndex changed = index(row - 1, col);
  emit dataChanged(changed, changed);
  const QModelIndex result = index(row - 1, Col_Result);
  emit dataChanged(result, result);
}

QString Probe_Result_Text(const ProbeResult& result, const QStringList& status_words) {
  const int status = static_cast<int>(result.status);
  QString text =
      status < status_words.size() ? status_words[status] : QString::fromLatin1(Probe_Status_Name(result.status));
  switch (result.status) {
    case ProbeStatus::Ok: {
      text += QStringLiteral(" %1 ms:").arg(result.round_trip_ms);
      for (const std::uint16_t value : result.values) text += QLatin1Char(' ') + QString::number(value);
      break;
    }
    case ProbeStatus::Exception: {
      text += QLatin1Char(' ') + QStringLiteral("%1").arg(result.exception_code, 2, 16, QLatin1Char('0')).toUpper();
      if (const auto name = Modbus_Exception_Name(result.exception_code)) {
        text += QLatin1Char(' ') + QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size()));
      }
      break;
    }
    default:
      if (!result.reason.empty()) text += QStringLiteral(": ") + to_qstring(result.reason);
      break;
  }
  return text;
}

}  // namespace sw48230
