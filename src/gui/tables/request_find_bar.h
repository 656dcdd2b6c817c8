#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "core/tables/request_find.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace sw48230 {

// The find bar of a request screen, opened by Ctrl+F: what to find, Next
// (Enter), Previous (Shift+Enter) and Close (Escape, which closes only the
// bar, never the screen). `find` moves the screen's cursor to the match and
// says where it was; the bar tells the user when the search went round the
// table or found nothing.
class RequestFindBar final : public QWidget {
  Q_OBJECT
 public:
  using Finder = std::function<std::optional<FindHit>(const QString& query, bool forward)>;

  struct Texts {
    QString label, hint;
    QString next, next_hint;
    QString previous, previous_hint;
    QString close, close_hint;
    QString no_match, wrapped_to_top, wrapped_to_end;
  };

  RequestFindBar(QWidget* parent, Finder find);

  void Set_Texts(Texts texts);
  // Shows the bar with its text selected, ready for typing.
  void Open();
  // Hides the bar; the screen is told through `closed` to take the focus back.
  void Close();

  QLineEdit* query_field() const { return E_Find; }
  QPushButton* next_button() const { return Btn_Find_Next; }
  QPushButton* previous_button() const { return Btn_Find_Previous; }
  QPushButton* close_button() const { return Btn_Find_Close; }

 signals:
  void closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Find(bool forward);

  Finder find_;
  Texts texts_;
  QLabel* L_Find;
  QLineEdit* E_Find;
  QPushButton* Btn_Find_Previous;
  QPushButton* Btn_Find_Next;
  QPushButton* Btn_Find_Close;
  QLabel* L_Find_Status;
};

}  // namespace sw48230
