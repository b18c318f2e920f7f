#include "j1939/transmit_frames_window.h"

namespace brenvale {

TFTransmit_J1939::TFTransmit_J1939(AppState& state, QWidget* parent)
    : TableWindow(state, parent, "TFTransmit_J1939", Captions{548, 549, kTransmitRowNumberHeader, 550, 551, 552, 553, kTransmitDeleteQuestion}, 784, 337) {
  fill_grid();
}

Status TFTransmit_J1939::load_table() {
  const ConfigFiles files = state_.active.files();
  Result<TransmitFrames> table = open_transmit_frames(files.par_gen(), files.transmit_frames());
  if (!table) return table.error();
  table_ = std::move(*table);
  return ok_status();
}

std::vector<int> TFTransmit_J1939::column_widths() const { return {30, 60, 70, 60, 90, 60, 80, 85, 70, 70, 130}; }

std::optional<RowFailure> TFTransmit_J1939::validate() const { return validate_transmit_frames(table_); }

Status TFTransmit_J1939::save_table() const { return save_transmit_frames(table_, state_.active.files().transmit_frames()); }

}  // namespace brenvale
