#include "gui/ui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace sw48230 {

QIcon program_icon(IconKind kind, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal unit = size / 32.0;
  painter.scale(unit, unit);
  const QColor ink(0, 84, 147);
  painter.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));

  switch (kind) {
    case IconKind::Information:
      painter.drawEllipse(QRectF(3, 3, 26, 26));
      painter.drawLine(QPointF(16, 14), QPointF(16, 23));
      painter.setBrush(ink);
      painter.drawEllipse(QRectF(14.5, 8, 3, 3));
      break;
    case IconKind::Options:
      for (const qreal y : {9.0, 16.0, 23.0}) painter.drawLine(QPointF(6, y), QPointF(26, y));
      break;
    case IconKind::Close:
      painter.setPen(QPen(QColor(160, 20, 20), 3.5, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(QPointF(8, 8), QPointF(24, 24));
      painter.drawLine(QPointF(24, 8), QPointF(8, 24));
      break;
    case IconKind::Refresh: {
      painter.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
      QPainterPath head;
      head.moveTo(24, 4);
      head.lineTo(26, 12);
      head.lineTo(18, 11);
      head.closeSubpath();
      painter.setPen(Qt::NoPen);
      painter.setBrush(ink);
      painter.drawPath(head);
      break;
    }
  }
  painter.end();
  return QIcon(pixmap);
}

}  // namespace sw48230
