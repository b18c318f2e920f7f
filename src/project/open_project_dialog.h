// Step 1: choosing one of the configuration folders under PROJECTS.
#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "app/app_state.h"
#include "ui/captioned.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace brenvale {

namespace ui {
class TitlePanel;
}

class TFOpenConf : public QDialog, public ui::Captioned {
  Q_OBJECT
 public:
  TFOpenConf(AppState& state, QWidget* parent);
  void Set_Lang() override;

  // The chosen name; empty when the list is empty.
  const std::string& Name_Conf() const { return name_conf_; }

 public slots:
  void ListBox1Click();

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow

 private:
  AppState& state_;
  std::vector<std::string> SL;
  std::string name_conf_;
  ui::TitlePanel* P_Title;
  QLabel* Label1;
  QListWidget* ListBox1;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

}  // namespace brenvale
