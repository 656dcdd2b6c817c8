// The baseline of the start-up benchmark: the least a Qt Widgets program does
// to show a window.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QLabel window(QStringLiteral("bare window"));
  window.show();
  QTimer::singleShot(0, &application, &QApplication::quit);
  return QApplication::exec();
}
