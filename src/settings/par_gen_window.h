// The communication settings window: the hardware variant and the J1939, CANopen and Ethernet
// settings of the active configuration, in four numbered category panels that collapse and
// scroll. It copies ParGen.xml into its controls on opening and back on OK; which rows show and
// which checks run are the settings rules of the core.
#pragma once

#include <array>
#include <filesystem>
#include <optional>

#include <QDialog>

#include "project/project_store.h"
#include "settings/settings_record.h"
#include "settings/settings_rules.h"
#include "text/catalogue.h"
#include "ui/captioned.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace brenvale {

namespace ui {
class TitlePanel;
}

class TFParGen2 : public QDialog, public ui::Captioned {
  Q_OBJECT
 public:
  TFParGen2(const Catalogue& catalogue, QWidget* parent);

  // Opens the window modally for this configuration. A ParGen.xml that cannot be read is shown
  // in an error box and the window does not open. Returns QDialog::Accepted after a save.
  int open_for(const ConfigFiles& files);
  // Loads ParGen.xml into the controls and lays them out, without showing the window; false
  // (after the error box) when the file cannot be read.
  bool FormShow(const ConfigFiles& files);

  void Set_Lang() override;

  // The record the controls hold, hidden rows included.
  SettingsRecord read_controls() const;
  void write_controls(const SettingsRecord& record);

 public slots:
  void Btn_OKClick();
  // Applies the visibility rules and stacks the rows and panels again.
  void Aggiorna_Layout();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Panel {
    QWidget* frame = nullptr;
    QToolButton* header = nullptr;
    QWidget* body = nullptr;
  };

  QWidget* add_row(SettingsRow row);
  QLabel* add_label(QWidget* row, const char* name, int left, int width);
  QLineEdit* add_edit(QWidget* row, const char* name, Setting setting, int left, int width);
  QCheckBox* add_check(QWidget* row, const char* name, Setting setting, int left, int width);
  QComboBox* add_combo(QWidget* row, const char* name, int left, int width);
  void build_panel(SettingsPanel panel, const char* name);
  void build_rows();
  // Shows the settings failure in an error box; true when every check passed.
  bool Controllo_dati(const SettingsRecord& record);
  // Scrolls the panel group by the wheel-scroll lines per notch.
  void scroll_group(int notches);

  const Catalogue& catalogue_;
  std::filesystem::path par_gen_;
  int wheel_rest_ = 0;  // the part of a notch that fine-grained wheels have turned so far

  ui::TitlePanel* P_Title;
  QScrollArea* CPG;
  QWidget* group_;
  std::array<Panel, static_cast<std::size_t>(SettingsPanel::kCount)> panels_;
  std::array<QWidget*, static_cast<std::size_t>(SettingsRow::kCount)> rows_{};
  std::array<QLineEdit*, kSettingCount> edits_{};
  std::array<QCheckBox*, kSettingCount> checks_{};
  // The Ethernet address edits in the order the "." key walks them.
  std::array<QLineEdit*, 12> ethernet_edits_{};

  QComboBox* CB_Select_Device_Device;
  QComboBox* CB_J1939_Baudrate;
  QComboBox* CB_CANopen_Baudrate;
  QComboBox* CB_CANopen_TPDO_Send_Method;
  QLabel* L_J1939_Baudrate;
  QLabel* L_J1939_TimeOut;
  QLabel* L_J1939_ID_Device;
  QLabel* L_CANopen_IDDevice;
  QLabel* L_CANopen_Baudrate;
  QLabel* L_CANopen_TPDO_Send_Method;
  QLabel* L_CANopen_TPDO_Send_Time;
  QLabel* L_CANopen_SDO_Timeout;
  QLabel* L_Ethernet_IP;
  QLabel* L_Ethernet_SM;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

}  // namespace brenvale
