#include "project/open_project_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/configurations.h"
#include "ui/button_panel.h"
#include "ui/dialog_frame.h"
#include "ui/title_panel.h"

namespace brenvale {

TFOpenConf::TFOpenConf(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName("TFOpenConf");

  P_Title = new ui::TitlePanel(this);
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

  const ui::OkCancelPanel buttons = ui::make_ok_cancel_panel(this);
  QWidget* P_Button = buttons.panel;
  Btn_OK = buttons.ok;
  Btn_Cancel = buttons.cancel;

  auto* body = new QVBoxLayout;
  body->setContentsMargins(16, 8, 16, 0);
  body->addWidget(Label1);
  body->addWidget(ListBox1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(P_Title);
  layout->addLayout(body, 1);
  layout->addWidget(P_Button);

  connect(ListBox1, &QListWidget::currentRowChanged, this, &TFOpenConf::ListBox1Click);
  connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

  resize(377, 351);
  ui::center_on_screen(this);
  Set_Lang();
}

void TFOpenConf::Set_Lang() {
  const Catalogue& cat = state_.catalogue;
  setWindowTitle(ui::qs(cat.get(32)));
  P_Title->set_description(ui::qs(cat.get(33)));
  Label1->setText(ui::qs(cat.get(34)));
  Btn_OK->setText(ui::qs(cat.get(35)));
  Btn_Cancel->setText(ui::qs(cat.get(36)));
}

void TFOpenConf::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  SL = list_configurations(state_.folders);
  ListBox1->blockSignals(true);
  ListBox1->clear();
  for (const std::string& name : SL) ListBox1->addItem(ui::qs(name));
  ListBox1->blockSignals(false);

  const int selected = preselect_configuration(SL, state_.active.name());
  name_conf_ = selected >= 0 ? SL[static_cast<std::size_t>(selected)] : std::string();
  if (selected >= 0) ListBox1->setCurrentRow(selected);
}

void TFOpenConf::ListBox1Click() {
  const int row = ListBox1->currentRow();
  if (row >= 0 && row < static_cast<int>(SL.size())) name_conf_ = SL[static_cast<std::size_t>(row)];
}

}  // namespace brenvale
