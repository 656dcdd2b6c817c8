#include "gui/ui/link_label.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <utility>

namespace sw48230 {
namespace {

class LinkActivation final : public QObject {
 public:
  LinkActivation(QLabel* label, std::function<void()> open) : QObject(label), open_(std::move(open)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      open_();
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space) {
          open_();
          return true;
        }
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> open_;
};

}  // namespace

void make_link(QLabel* label, std::function<void()> open, bool keyboard) {
  label->setCursor(Qt::PointingHandCursor);
  label->installEventFilter(new LinkActivation(label, std::move(open)));
  if (!keyboard) return;
  label->setFocusPolicy(Qt::StrongFocus);
  // The transparent frame keeps the text in place when the focus frame shows.
  label->setStyleSheet(
      QStringLiteral("QLabel { color: #0054a6; text-decoration: underline; border: 1px solid transparent; }"
                     "QLabel:focus { border: 1px dotted #0054a6; }"));
}

}  // namespace sw48230
