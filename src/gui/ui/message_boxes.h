#pragma once

#include <QString>

class QWidget;

namespace sw48230 {

// The program's two kinds of message box. Screens get them through this
// interface so that tests can answer them without a real dialog.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;

  // An error icon and one OK button.
  virtual void error(QWidget* parent, const QString& text) = 0;

  // A warning icon and one OK button.
  virtual void warning(QWidget* parent, const QString& text) = 0;

  // A question icon with Yes and No; true only for Yes.
  virtual bool question(QWidget* parent, const QString& text) = 0;

  // The captions of the boxes' buttons, in the language of the texts the
  // boxes show; the main window sets them with every language.
  struct Buttons {
    QString ok = QStringLiteral("OK");
    QString yes = QStringLiteral("Yes");
    QString no = QStringLiteral("No");
  };
  void Set_Buttons(Buttons buttons) { buttons_ = std::move(buttons); }
  const Buttons& buttons() const { return buttons_; }

 private:
  Buttons buttons_;
};

class QtMessageBoxes final : public MessageBoxes {
 public:
  void error(QWidget* parent, const QString& text) override;
  void warning(QWidget* parent, const QString& text) override;
  bool question(QWidget* parent, const QString& text) override;
};

}  // namespace sw48230
