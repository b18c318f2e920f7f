#include "canopen/frame_line_controls.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "ui/dialog_frame.h"

namespace brenvale {

void FrameLineControls::show(const FrameLine& frame) {
  if (priority) priority->setCurrentIndex(list_choice(frame.priority, priority->count()));
  data_page->setCurrentIndex(list_choice(frame.data_page, data_page->count()));
  pgn->setText(ui::qs(frame.pgn));
  sa->setText(ui::qs(frame.sa));
  mnemonic->setText(ui::qs(frame.mnemonic));
}

FrameLine FrameLineControls::read() const {
  FrameLine frame;
  frame.priority = priority ? priority->currentIndex() : 0;
  frame.data_page = data_page->currentIndex();
  frame.pgn = ui::us(pgn->text());
  frame.sa = ui::us(sa->text());
  frame.mnemonic = ui::us(mnemonic->text());
  return frame;
}

QLineEdit* make_edit(QWidget* parent, const QString& name, int left, int top, int width, int height) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(left, top, width, height);
  return edit;
}

ButtonPanel add_button_panel(QWidget* window, int width, int height) {
  constexpr int kPanelHeight = 44;
  auto* panel = new QFrame(window);
  panel->setObjectName("P_Button");
  panel->setGeometry(0, height - kPanelHeight, width, kPanelHeight);
  ButtonPanel buttons{new QPushButton(panel), new QPushButton(panel)};
  buttons.ok->setObjectName("Btn_OK");
  buttons.ok->setGeometry(width - 230, 6, 100, 32);
  buttons.ok->setDefault(true);
  buttons.cancel->setObjectName("Btn_Cancel");
  buttons.cancel->setGeometry(width - 120, 6, 100, 32);
  return buttons;
}

QComboBox* make_number_list(QWidget* parent, const char* name, int count) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setEditable(false);
  for (int i = 0; i < count; ++i) list->addItem(QString::number(i));
  return list;
}

}  // namespace brenvale
