// The windows over the SDO server tables: pick a J1939 frame on the left, see its server SDO
// objects in the middle, create or change one with the editor on the right. The read and the
// write window are one implementation; the write window adds the "send frame on write" choice.
#pragma once

#include <QDialog>

#include "app/app_state.h"
#include "canopen/sdo_server_table.h"
#include "ui/captioned.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace brenvale {

namespace ui {
class TitlePanel;
}

class SdoServerWindow : public QDialog, public ui::Captioned {
  Q_OBJECT
 public:
  // The step's entry point: opens the frames and object files and shows the window modally. A
  // file that cannot be read is reported in an error box and the window does not open.
  int open_modal();
  void Set_Lang() override;

  const SdoServerTable& table() const { return table_; }

 public slots:
  void LB_J1939_FramesClick();
  void LB_SDOsClick();
  void CB_Dim_SDOChange();
  void Btn_CreateClick();
  void Btn_ModifyClick();
  void Btn_DeleteClick();
  void Btn_CopyClick();
  void Btn_PasteClick();
  void Btn_OKClick();

 protected:
  SdoServerWindow(AppState& state, QWidget* parent, SdoVariant variant);

 private:
  void refresh();
  void refresh_objects();
  void empty_editor();
  void show_in_editor(const TSDO& object);
  TSDO editor_values() const;
  int selected_frame() const;
  int selected_object() const;

  AppState& state_;
  SdoVariant variant_;
  SdoServerTable table_;
  SdoClipboard clipboard_;

  ui::TitlePanel* P_Title;
  QLabel* L_J1939_Frame_Desc1;
  QLabel* L_J1939_Frame_Desc2;
  QListWidget* LB_J1939_Frames;
  QLabel* L_SDO_List_Desc1;
  QLabel* L_SDO_List_Desc2;
  QListWidget* LB_SDOs;
  QLabel* L_SDO_Ind_Desc1;
  QLabel* L_Index_SDO;
  QLineEdit* E_Index_SDO;
  QLabel* L_Sub_SDO;
  QLineEdit* E_Sub_SDO;
  QLabel* L_Dim_SDO;
  QComboBox* CB_Dim_SDO;
  QLabel* L_Byte_SDO[4];
  QComboBox* CB_Byte_SDO[4];
  QLabel* L_SDO_Send_on_Write = nullptr;
  QComboBox* CB_SDO_Send_on_Write = nullptr;
  QPushButton* Btn_Create;
  QPushButton* Btn_Modify;
  QPushButton* Btn_Delete;
  QPushButton* Btn_Copy;
  QPushButton* Btn_Paste;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

class TFDefine_Server_SDO_Read : public SdoServerWindow {
  Q_OBJECT
 public:
  TFDefine_Server_SDO_Read(AppState& state, QWidget* parent) : SdoServerWindow(state, parent, SdoVariant::kRead) {}
};

class TFDefine_Server_SDO_Write : public SdoServerWindow {
  Q_OBJECT
 public:
  TFDefine_Server_SDO_Write(AppState& state, QWidget* parent) : SdoServerWindow(state, parent, SdoVariant::kWrite) {}
};

}  // namespace brenvale
