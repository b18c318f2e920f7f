#include "canopen/rpdo_window.h"

#include "ui/dialog_frame.h"

namespace brenvale {

TFDefine_RPDO::TFDefine_RPDO(AppState& state, QWidget* parent)
    : TableWindow(state, parent, "TFDefine_RPDO", Captions{433, 434, kRpdoRowNumberHeader, 441, 442, 443, 444, kRpdoDeleteQuestion}, 700, 337) {
  fill_grid();
}

Status TFDefine_RPDO::load_table() {
  const ConfigFiles files = state_.active.files();
  Result<PdoTable> table = open_pdo_table(PdoVariant::kReceive, files.par_gen(), files.transmit_frames(), files.receive_pdos());
  if (!table) return table.error();
  table_ = std::move(*table);
  return ok_status();
}

std::vector<int> TFDefine_RPDO::column_widths() const { return {40, 70, 70, 70, 130, 288}; }

std::optional<RowFailure> TFDefine_RPDO::validate() const { return validate_pdo_table(table_); }

Status TFDefine_RPDO::save_table() const { return save_pdo_table(table_, state_.active.files().receive_pdos()); }

// The frame column offers the frames of the frames file as "n;PGN;ID_DEV;", after an empty
// entry that ties the PDO to no frame.
QStringList TFDefine_RPDO::list_choices(int column) const {
  QStringList choices = {QString()};
  for (const FrameChoice& frame : table_.frames) choices << ui::qs(frame.text);
  return choices;
}

}  // namespace brenvale
