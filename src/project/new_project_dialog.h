// Step 1: creating a new, empty configuration folder and making it active.
#pragma once

#include <QDialog>

#include "app/app_state.h"
#include "ui/captioned.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace brenvale {

namespace ui {
class TitlePanel;
}

class TFNew_Project : public QDialog, public ui::Captioned {
  Q_OBJECT
 public:
  TFNew_Project(AppState& state, QWidget* parent);
  void Set_Lang() override;

 public slots:
  void Btn_OKClick();

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  AppState& state_;
  ui::TitlePanel* P_Title;
  QLabel* Label1;
  QLineEdit* E_New_Proj;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

}  // namespace brenvale
