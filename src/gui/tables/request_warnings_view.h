#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <vector>

class QListWidget;
class QPushButton;
class QWidget;

namespace sw48230 {

// The network warnings of a request screen: a button that says how many
// there are and opens or closes their list; picking an entry of the list
// hands its rows to `select`. The screen places both controls.
class RequestWarningsView final : public QObject {
  Q_OBJECT
 public:
  struct Entry {
    QString text;
    std::vector<int> rows;  // table rows, ascending
  };
  using SelectRows = std::function<void(const std::vector<int>& rows)>;

  RequestWarningsView(QWidget* screen, SelectRows select);

  QPushButton* button() const { return Btn_Warnings; }
  QListWidget* list() const { return LB_Warnings; }

  // `caption` holds %1, the number of warnings.
  void Set_Texts(const QString& caption, const QString& hint, const QString& list_name);
  void Show_Warnings(std::vector<Entry> entries);
  // Closes the list, as at a new opening of the screen.
  void Close_List();

 private:
  void Show_Count();

  SelectRows select_;
  QPushButton* Btn_Warnings;
  QListWidget* LB_Warnings;
  QString caption_;
  std::vector<Entry> entries_;
};

}  // namespace sw48230
