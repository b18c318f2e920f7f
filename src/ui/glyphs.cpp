#include "ui/glyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace brenvale::ui {

namespace {

QPixmap draw(Glyph glyph, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);  // drawn on a 32 x 32 grid
  switch (glyph) {
    case Glyph::kInformation: {
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(0x1E, 0x5A, 0xC8));
      painter.drawEllipse(QRectF(2, 2, 28, 28));
      painter.setBrush(Qt::white);
      painter.drawEllipse(QRectF(14, 7, 4, 4));
      painter.drawRoundedRect(QRectF(14, 13, 4, 12), 1, 1);
      break;
    }
    case Glyph::kOptions: {
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(0x50, 0x50, 0x50));
      for (int row = 0; row < 4; ++row) {
        const double y = 6 + row * 6;
        painter.drawRect(QRectF(4, y, 4, 3));
        painter.drawRect(QRectF(11, y, 17, 3));
      }
      break;
    }
    case Glyph::kClose: {
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(0xC8, 0x28, 0x28));
      painter.drawEllipse(QRectF(2, 2, 28, 28));
      QPen cross(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap);
      painter.setPen(cross);
      painter.drawLine(QPointF(11, 11), QPointF(21, 21));
      painter.drawLine(QPointF(21, 11), QPointF(11, 21));
      break;
    }
  }
  return pixmap;
}

}  // namespace

QIcon glyph_icon(Glyph glyph) {
  QIcon icon;
  for (const int size : {16, 32}) icon.addPixmap(draw(glyph, size));
  return icon;
}

void set_text_colour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

}  // namespace brenvale::ui
