#include "project/new_project_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/configurations.h"
#include "ui/button_panel.h"
#include "ui/dialog_frame.h"
#include "ui/message_box.h"
#include "ui/title_panel.h"

namespace brenvale {

TFNew_Project::TFNew_Project(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName("TFNew_Project");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  P_Title = new ui::TitlePanel(this);
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  E_New_Proj = new QLineEdit(this);
  E_New_Proj->setObjectName("E_New_Proj");
  E_New_Proj->installEventFilter(this);

  const ui::OkCancelPanel buttons = ui::make_ok_cancel_panel(this);
  QWidget* P_Button = buttons.panel;
  Btn_OK = buttons.ok;
  Btn_Cancel = buttons.cancel;

  auto* body = new QVBoxLayout;
  body->setContentsMargins(16, 8, 16, 0);
  body->addWidget(Label1);
  body->addWidget(E_New_Proj);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(P_Title);
  layout->addLayout(body);
  layout->addStretch();
  layout->addWidget(P_Button);

  connect(Btn_OK, &QPushButton::clicked, this, &TFNew_Project::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

  ui::fix_size_centered(this, 331, 162);
  Set_Lang();
}

void TFNew_Project::Set_Lang() {
  const Catalogue& cat = state_.catalogue;
  setWindowTitle(ui::qs(cat.get(24)));
  P_Title->set_description(ui::qs(cat.get(25)));
  Label1->setText(ui::qs(cat.get(26)));
  Btn_OK->setText(ui::qs(cat.get(27)));
  Btn_Cancel->setText(ui::qs(cat.get(28)));
}

void TFNew_Project::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  E_New_Proj->clear();
  E_New_Proj->setFocus();
}

bool TFNew_Project::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the name edit acts as OK.
  if (watched == E_New_Proj && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Btn_OKClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFNew_Project::Btn_OKClick() {
  const CreateResult result = create_configuration(state_.active, ui::us(E_New_Proj->text()));
  if (result != CreateResult::kCreated) {
    ui::error_box(this, ui::qs(state_.catalogue.get(static_cast<int>(result))));
    return;
  }
  accept();
}

}  // namespace brenvale
