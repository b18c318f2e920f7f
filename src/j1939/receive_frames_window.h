// The window over the receive frames table: the J1939 parameter groups the converter received.
#pragma once

#include "j1939/receive_frames.h"
#include "j1939/table_window.h"

namespace brenvale {

class TFReceive_J1939 : public TableWindow {
  Q_OBJECT
 public:
  TFReceive_J1939(AppState& state, QWidget* parent);

 protected:
  Status load_table() override;
  CellTable& cells() override { return table_.cells; }
  EthernetPort port() const override { return table_.port; }
  std::vector<int> column_widths() const override;
  std::optional<RowFailure> validate() const override;
  Status save_table() const override;

 private:
  ReceiveFrames table_;
};

}  // namespace brenvale
