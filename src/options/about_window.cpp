#include "options/about_window.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "app/product.h"
#include "ui/dialog_frame.h"
#include "ui/glyphs.h"
#include "ui/link_label.h"

namespace brenvale {

namespace {

QPixmap maker_logo() {
  QPixmap logo(81, 81);
  logo.fill(QColor(0, 70, 140));
  QPainter painter(&logo);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(52);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(logo.rect(), Qt::AlignCenter, "C");
  return logo;
}

QString web_address() {
  QString site = QString::fromStdString(maker_server());
  const int scheme = site.indexOf("://");
  return scheme >= 0 ? site.mid(scheme + 3) : site;
}

}  // namespace

TFAbout::TFAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("TFAbout");
  setWindowTitle("About...");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  Image2 = new QLabel(this);
  Image2->setObjectName("Image2");
  Image2->setGeometry(32, 24, 81, 81);
  Image2->setPixmap(maker_logo());
  Image2->setCursor(Qt::PointingHandCursor);
  Image2->installEventFilter(this);

  add_label("Label1", 128, 24, "Software Brenvale ");
  Label2 = add_label("Label2", 128, 39, QString());
  add_label("Label6", 128, 62, "Software Code : ");
  Label9 = add_label("Label9", 240, 62, QString());
  add_label("Label3", 128, 77, "Version :");
  Label10 = add_label("Label10", 240, 77, QString());
  add_label("Label8", 128, 93, "Document Code :");
  Label12 = add_label("Label12", 240, 93, QString());
  Label4 = add_label("Label4", 297, 131, web_address());
  Label4->setCursor(Qt::PointingHandCursor);
  QFont underlined = Label4->font();
  underlined.setUnderline(true);
  Label4->setFont(underlined);
  ui::set_text_colour(Label4, Qt::blue);
  Label4->installEventFilter(this);

  auto* LbButton1 = new QPushButton("OK", this);
  LbButton1->setObjectName("LbButton1");
  LbButton1->setGeometry(32, 115, 81, 22);
  connect(LbButton1, &QPushButton::clicked, this, &QDialog::accept);

  ui::fix_size_centered(this, 406, 148);
}

QLabel* TFAbout::add_label(const char* name, int left, int top, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  label->move(left, top);
  label->adjustSize();
  return label;
}

void TFAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Label2->setText(QString::fromUtf8(kProductDescription));
  Label9->setText(QString::fromUtf8(kProductCode));
  Label10->setText(QString::fromUtf8(kVersion));
  Label12->setText(QString::fromUtf8(kManualCode));
  for (QLabel* label : {Label2, Label9, Label10, Label12}) label->adjustSize();
  setFixedSize(406, 148);
}

bool TFAbout::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == Label4 || watched == Image2) && event->type() == QEvent::MouseButtonRelease) {
    Label4Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TFAbout::Label4Click() { ui::open_url(QString::fromStdString(maker_home_page())); }

}  // namespace brenvale
