#include "j1939/receive_frames_window.h"

namespace brenvale {

TFReceive_J1939::TFReceive_J1939(AppState& state, QWidget* parent)
    : TableWindow(state, parent, "TFReceive_J1939", Captions{522, 523, kReceiveRowNumberHeader, 524, 525, 526, 527, kReceiveDeleteQuestion}, 876, 337) {
  fill_grid();
}

Status TFReceive_J1939::load_table() {
  const ConfigFiles files = state_.active.files();
  Result<ReceiveFrames> table = open_receive_frames(files.par_gen(), files.receive_frames());
  if (!table) return table.error();
  table_ = std::move(*table);
  return ok_status();
}

std::vector<int> TFReceive_J1939::column_widths() const { return {30, 70, 60, 90, 110, 70, 70, 80, 80, 70, 120}; }

std::optional<RowFailure> TFReceive_J1939::validate() const { return validate_receive_frames(table_); }

Status TFReceive_J1939::save_table() const { return save_receive_frames(table_, state_.active.files().receive_frames()); }

}  // namespace brenvale
