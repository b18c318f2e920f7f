// The node-guarding window: the list of guarded CANopen nodes in a grid of 32 rows and the five
// J1939 frames that report their state, loaded from NodeGuard.xml and NG_J1939_Frame.xml of the
// open configuration when shown and written back on OK.
#pragma once

#include <array>

#include <QDialog>

#include "canopen/frame_line_controls.h"
#include "canopen/node_guard_table.h"
#include "project/project_store.h"
#include "ui/captioned.h"

class QFrame;
class QLabel;
class QPushButton;

namespace brenvale {

namespace ui {
class ColumnGrid;
class TitlePanel;
}

class TFDefine_NodeGuard : public QDialog, public ui::Captioned {
  Q_OBJECT
 public:
  TFDefine_NodeGuard(const Catalogue& catalogue, const ActiveConfiguration& active, QWidget* parent = nullptr);

  void Set_Lang() override;
  // Loads both files into the controls; false after an error box when one cannot be read, and
  // then the window must not open.
  bool FormShow();
  // Loads and runs the window modally; QDialog::Accepted only after a save.
  int Execute();

 public slots:
  void Btn_OKClick();
  void Btn_CancelClick();

 private:
  NodeGuardTable read_controls() const;
  // Checks node rows, then frames; shows the first failure and returns false.
  bool Controllo_dati(const NodeGuardTable& table);

  const Catalogue& catalogue_;
  const ActiveConfiguration& active_;

  ui::TitlePanel* P_Title;
  QLabel* L_NG_J1939_Title1;
  ui::ColumnGrid* sga;
  QLabel* L_NG_J1939_Title2;
  std::array<QLabel*, 5> column_titles_{};
  std::array<FrameLineControls, kNodeGuardFrameCount> lines_{};
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

}  // namespace brenvale
