// Update Device for a converter with Ethernet port: the user types the converter's address and
// chooses what to send; the window pings the address, writes Ethernet_Update.xml and runs the
// Ethernet updater, waiting for it.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QDialog>

#include "app/app_state.h"
#include "app/program_runner.h"
#include "ui/captioned.h"
#include "update/device_ping.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brenvale {

namespace ui {
class TitlePanel;
}

class TFBoot : public QDialog, public ui::Captioned {
  Q_OBJECT
 public:
  TFBoot(AppState& state, QWidget* parent);
  ~TFBoot() override;

  // The window's mode; 1, the Ethernet mode, is the only one of this converter.
  int Form_Type = 1;
  // The result of the last ping procedure: 0 none yet, 1 reply, 2 no reply.
  int ping_res = 0;

  void Set_Lang() override;

  // Test seams: the pinger and clock of the ping, and how long the updater is waited for.
  void set_pinger_factory(std::function<std::unique_ptr<Pinger>()> factory) { pinger_factory_ = std::move(factory); }
  void set_ping_clock(PingClock* clock) { clock_ = clock; }
  void set_updater_wait_limit(std::chrono::milliseconds limit) { wait_limit_ = limit; }

 public slots:
  void Btn_UpdateClick();

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Ping();
  std::string address_text() const;

  AppState& state_;
  std::function<std::unique_ptr<Pinger>()> pinger_factory_;
  SteadyPingClock steady_clock_;
  PingClock* clock_ = &steady_clock_;
  std::chrono::milliseconds wait_limit_ = kProgramWaitLimit;

  ui::TitlePanel* P_Title;
  QWidget* P_IP_Address;
  QLabel* L_IP_Address;
  QLineEdit* E_IP[4];
  QWidget* P_Eth_Search;
  QWidget* P_Options;
  QLabel* L_Update_Option;
  QComboBox* CB_Update_Options;
  QCheckBox* CB_Update_Option_Read_Back;
  QWidget* P_Button;
  QPushButton* Btn_Cancel;
  QPushButton* Btn_Update;
  QWidget* P_Serial;
};

}  // namespace brenvale
