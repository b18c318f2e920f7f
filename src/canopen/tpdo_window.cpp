#include "canopen/tpdo_window.h"

#include "ui/dialog_frame.h"

namespace brenvale {

TFDefine_TPDO::TFDefine_TPDO(AppState& state, QWidget* parent)
    : TableWindow(state, parent, "TFDefine_TPDO", Captions{500, 501, kTpdoRowNumberHeader, 511, 512, 513, 514, kTpdoDeleteQuestion}, 700, 337) {
  fill_grid();
}

Status TFDefine_TPDO::load_table() {
  const ConfigFiles files = state_.active.files();
  Result<PdoTable> table = open_pdo_table(PdoVariant::kTransmit, files.par_gen(), files.receive_frames(), files.transmit_pdos());
  if (!table) return table.error();
  table_ = std::move(*table);
  return ok_status();
}

std::vector<int> TFDefine_TPDO::column_widths() const { return {40, 70, 70, 70, 130, 78, 48, 70, 87, 98}; }

std::optional<RowFailure> TFDefine_TPDO::validate() const { return validate_pdo_table(table_); }

Status TFDefine_TPDO::save_table() const { return save_pdo_table(table_, state_.active.files().transmit_pdos()); }

// The frame column offers the frames of the frames file as "n;PGN;ID_DEV;", after an empty
// entry that ties the PDO to no frame.
QStringList TFDefine_TPDO::list_choices(int column) const {
  QStringList choices = {QString()};
  for (const FrameChoice& frame : table_.frames) choices << ui::qs(frame.text);
  return choices;
}

}  // namespace brenvale
