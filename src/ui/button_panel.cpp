#include "ui/button_panel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QWidget>

namespace brenvale::ui {

OkCancelPanel make_ok_cancel_panel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setObjectName("P_Button");
  auto* ok = new QPushButton(panel);
  ok->setObjectName("Btn_OK");
  ok->setAutoDefault(false);
  auto* cancel = new QPushButton(panel);
  cancel->setObjectName("Btn_Cancel");
  cancel->setAutoDefault(false);
  auto* row = new QHBoxLayout(panel);
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  return {panel, ok, cancel};
}

}  // namespace brenvale::ui
