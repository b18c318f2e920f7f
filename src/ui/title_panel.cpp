#include "ui/title_panel.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/product.h"
#include "ui/glyphs.h"

namespace brenvale::ui {

TitlePanel::TitlePanel(QWidget* parent, int height) : QFrame(parent) {
  setObjectName("P_Title");
  setFixedHeight(height);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);

  code_ = new QLabel(QString::fromUtf8(kProductCode), this);
  code_->setObjectName("L_SW_Code");
  QFont big = code_->font();
  big.setPointSize(18);
  big.setBold(true);
  code_->setFont(big);
  set_text_colour(code_, QColor(128, 128, 128));

  description_ = new QLabel(this);
  description_->setObjectName("L_SW_Desc");
  QFont bold = description_->font();
  bold.setBold(true);
  description_->setFont(bold);
  set_text_colour(description_, QColor(128, 128, 128));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 6, 16, 6);
  layout->setSpacing(2);
  layout->addWidget(code_);
  layout->addWidget(description_);
}

void TitlePanel::set_description(const QString& text) { description_->setText(text); }

}  // namespace brenvale::ui
