// The main window: the numbered steps that lead from a new configuration to the updated device,
// and the one dispatch of all its buttons. Every other window is opened from here, modally.
#pragma once

#include <functional>
#include <map>

#include <QString>
#include <QWidget>

#include "app/app_state.h"
#include "compiler/compiler.h"
#include "ui/captioned.h"

class QLabel;
class QPushButton;
class QTimer;

namespace brenvale {

namespace ui {
class LinkLabel;
}

class TFMain : public QWidget, public ui::Captioned {
  Q_OBJECT
 public:
  explicit TFMain(AppState& state, QWidget* parent = nullptr);

  AppState& state() { return state_; }

  void Set_Lang() override;
  // The configuration lines follow the active configuration.
  void Show_Configuration();

  // Registers what a step button opens; the dispatch checks for an open configuration first.
  void set_step(const QString& button_name, std::function<void()> action);
  // Called after the language changed: re-captions every window in its order.
  void set_change_language(std::function<void()> recaption) { change_language_ = std::move(recaption); }
  void Change_Language();

  // The version check that the update timer runs; true when a newer version exists.
  void set_version_check(std::function<bool()> check) { version_check_ = std::move(check); }
  QTimer* update_timer() const { return Timer_Update; }
  // Switches the update check timer by the two internet options, keeping its interval.
  void Switch_Update_Timer();

  // The "EDS File" step: a save dialog, then the data sheet for the configuration's variant.
  void Create_EDS();

  // The "Update Device" step: compile, write the seven files, then the update window that fits
  // the converter. Returns false when the compile or a write failed (shown in an error box).
  bool Update_Device();
  void set_update_window(std::function<void()> show) { show_update_window_ = std::move(show); }

  // Writes Brenvale.xml; a failure is shown in an error box.
  void Save_Setting();

  // Quits the application right after the first paint (start-up measurements).
  void set_quit_when_shown(bool quit) { quit_when_shown_ = quit; }

 public slots:
  void Btn_Click();
  void Timer_UpdateTimer();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QPushButton* add_button(const char* name, int left, int top, int width = 170, int height = 36);
  QLabel* add_label(const char* name, int left, int top);

  AppState& state_;
  std::map<QString, std::function<void()>> steps_;
  std::function<void()> change_language_;
  std::function<bool()> version_check_;
  std::function<void()> show_update_window_;
  // The bank buffers live for the whole run; every compile reuses them.
  Compiler compiler_;
  bool quit_when_shown_ = false;
  bool painted_ = false;

  QLabel* L_SW_Code;
  QLabel* L_SW_Desc;
  ui::LinkLabel* LL_Update;
  ui::LinkLabel* maker_link_;
  QLabel* L_Begin;
  QLabel* L_Name_Conf;
  QLabel* L_Name_Conf_L2;
  QLabel* L_Step[8];
  QPushButton* Btn_Info;
  QPushButton* Btn_Opz;
  QPushButton* Btn_Close;
  QPushButton* Btn_New;
  QPushButton* Btn_Open;
  QPushButton* Btn_Prm_Gen;
  QPushButton* Btn_Receive_J1939;
  QPushButton* Btn_Define_Receive_SDO;
  QPushButton* Btn_Define_Receive_TPDO;
  QPushButton* Btn_Transmit_J1939;
  QPushButton* Btn_Define_Transmit_SDO;
  QPushButton* Btn_Define_Transmit_RPDO;
  QPushButton* Btn_Set_SDO_Client;
  QPushButton* Btn_Set_NodeGuard;
  QPushButton* Btn_CANopen_EDSFile;
  QPushButton* Btn_CreateBin;
  QTimer* Timer_Update;
};

}  // namespace brenvale
