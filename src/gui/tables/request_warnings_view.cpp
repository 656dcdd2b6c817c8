#include "gui/tables/request_warnings_view.h"

#include <QListWidget>
#include <QPushButton>

#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {

RequestWarningsView::RequestWarningsView(QWidget* screen, SelectRows select)
    : QObject(screen),
      select_(std::move(select)),
      Btn_Warnings(make_named<QPushButton>(screen, "Btn_Warnings")),
      LB_Warnings(make_named<QListWidget>(screen, "LB_Warnings")) {
  Btn_Warnings->setAutoDefault(false);  // Enter belongs to the grid
  Btn_Warnings->setCheckable(true);
  LB_Warnings->setVisible(false);
  LB_Warnings->setMaximumHeight(LB_Warnings->fontMetrics().height() * 6);
  connect(Btn_Warnings, &QPushButton::toggled, LB_Warnings, &QWidget::setVisible);
  // Arrow keys and clicks alike: the rows follow the entry the user is on,
  // and a click on that entry again brings them back after the user moved.
  const auto pick = [this](int entry) {
    if (entry >= 0 && entry < static_cast<int>(entries_.size()))
      select_(entries_[static_cast<std::size_t>(entry)].rows);
  };
  connect(LB_Warnings, &QListWidget::currentRowChanged, this, pick);
  connect(LB_Warnings, &QListWidget::itemClicked, this,
          [this, pick](QListWidgetItem* item) { pick(LB_Warnings->row(item)); });
}

void RequestWarningsView::Set_Texts(const QString& caption, const QString& hint, const QString& list_name) {
  caption_ = caption;
  Show_Count();
  Btn_Warnings->setToolTip(hint);
  LB_Warnings->setAccessibleName(list_name);
  LB_Warnings->setToolTip(hint);
}

void RequestWarningsView::Show_Warnings(std::vector<Entry> entries) {
  entries_ = std::move(entries);
  // Refilling must not move the user's rows: no entry is current afterwards.
  const QSignalBlocker quiet(LB_Warnings);
  LB_Warnings->clear();
  for (const Entry& entry : entries_) LB_Warnings->addItem(entry.text);
  LB_Warnings->setCurrentRow(-1);
  Show_Count();
}

void RequestWarningsView::Close_List() { Btn_Warnings->setChecked(false); }

void RequestWarningsView::Show_Count() {
  // A translation may leave the number out; arg() would complain then.
  const QString caption = QString(caption_).replace(QLatin1String("%1"), QString::number(entries_.size()));
  Btn_Warnings->setText(caption);
  Btn_Warnings->setAccessibleName(caption);
}

}  // namespace sw48230
