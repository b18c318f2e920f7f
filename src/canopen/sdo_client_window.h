// The SDO client window: the five J1939 frames of the converter's SDO client, one line each,
// loaded from SDOClient.xml of the open configuration when shown and written back on OK.
#pragma once

#include <array>

#include <QDialog>

#include "canopen/frame_line_controls.h"
#include "canopen/sdo_client_table.h"
#include "project/project_store.h"
#include "ui/captioned.h"

class QLabel;
class QPushButton;

namespace brenvale {

namespace ui {
class TitlePanel;
}

class TFDefine_Client_SDO : public QDialog, public ui::Captioned {
  Q_OBJECT
 public:
  TFDefine_Client_SDO(const Catalogue& catalogue, const ActiveConfiguration& active, QWidget* parent = nullptr);

  void Set_Lang() override;
  // Loads the file into the controls; false after an error box when the file cannot be read, and
  // then the window must not open.
  bool FormShow();
  // Loads and runs the window modally; QDialog::Accepted only after a save.
  int Execute();

 public slots:
  void Btn_OKClick();
  void Btn_CancelClick();

 private:
  SdoClientTable read_controls() const;
  // Checks the frames; shows the first failure and returns false.
  bool Controllo_dati(const SdoClientTable& table);

  const Catalogue& catalogue_;
  const ActiveConfiguration& active_;

  ui::TitlePanel* P_Title;
  std::array<QLabel*, kSdoClientFrameCount> row_titles_{};
  std::array<QLabel*, 5> column_titles_{};
  std::array<FrameLineControls, kSdoClientFrameCount> lines_{};
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

}  // namespace brenvale
