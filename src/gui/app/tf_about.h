#pragma once

#include <QDialog>

class QLabel;

namespace sw48230 {

class UrlOpener;

// The About screen. Its texts name the product and are never translated.
class TFAbout final : public QDialog {
  Q_OBJECT
 public:
  TFAbout(UrlOpener& browser, QWidget* parent);

 private:
  UrlOpener& browser_;
  QLabel* Label4;
  QLabel* Image2;
};

// A small logo of the maker, drawn rather than shipped as a file.
QPixmap maker_logo(int size);

}  // namespace sw48230
