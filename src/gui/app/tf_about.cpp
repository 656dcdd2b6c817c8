#include "gui/app/tf_about.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "core/common/product.h"
#include "gui/ui/link_label.h"
#include "gui/ui/texts.h"
#include "platform/url_opener.h"

namespace sw48230 {

QPixmap maker_logo(int size) {
  QPixmap logo(size, size);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 84, 147));
  painter.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(size * 2 / 3);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("N"));
  return logo;
}

TFAbout::TFAbout(UrlOpener& browser, QWidget* parent)
    : QDialog(parent), browser_(browser), Label4(new QLabel(this)), Image2(new QLabel(this)) {
  setObjectName("TFAbout");
  setModal(true);
  setWindowTitle(QStringLiteral("About..."));

  const auto add_label = [this](const char* name, const QString& text) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    set_caption(label, text);
    return label;
  };
  QLabel* Label1 = add_label("Label1", QStringLiteral("Software Velstrom "));
  QFont title_font = Label1->font();
  title_font.setBold(true);
  title_font.setPointSizeF(title_font.pointSizeF() * 1.4);
  Label1->setFont(title_font);

  Image2->setObjectName("Image2");
  Image2->setPixmap(maker_logo(64));
  Image2->setAccessibleName(QString::fromUtf8(Maker_Web_Address));
  const auto open_home_page = [this] { browser_.open_url(QString::fromUtf8(Home_Page_Url)); };
  // The address below opens the same page and takes the keyboard.
  make_link(Image2, open_home_page, false);

  Label4->setObjectName("Label4");
  set_caption(Label4, QString::fromUtf8(Maker_Web_Address));
  make_link(Label4, open_home_page);

  auto* Btn_OK = new QPushButton(QStringLiteral("OK"), this);
  Btn_OK->setObjectName("Btn_OK");
  Btn_OK->setAccessibleName(QStringLiteral("OK"));
  Btn_OK->setDefault(true);
  connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Image2, 0, 0, 3, 1, Qt::AlignTop);
  grid->addWidget(Label1, 0, 1, 1, 2);
  grid->addWidget(add_label("Label2", QString::fromUtf8(SW_Desc)), 1, 1, 1, 2);
  grid->addWidget(add_label("Label6", QStringLiteral("Software Code : ")), 3, 1);
  grid->addWidget(add_label("Label9", QString::fromUtf8(SW_Code)), 3, 2);
  grid->addWidget(add_label("Label3", QStringLiteral("Version :")), 4, 1);
  grid->addWidget(add_label("Label10", QString::fromUtf8(Version_Text)), 4, 2);
  grid->addWidget(add_label("Label8", QStringLiteral("Document Code :")), 5, 1);
  grid->addWidget(add_label("Label12", QString::fromUtf8(Document_Code)), 5, 2);
  grid->addWidget(Label4, 6, 1, 1, 2);
  grid->addWidget(Btn_OK, 7, 2, Qt::AlignRight);
  grid->setColumnStretch(2, 1);
}

}  // namespace sw48230
