// The window over the receive PDOs: CANopen process data put into bytes of transmitted J1939 frames.
#pragma once

#include "canopen/pdo_table.h"
#include "j1939/table_window.h"

namespace brenvale {

class TFDefine_RPDO : public TableWindow {
  Q_OBJECT
 public:
  TFDefine_RPDO(AppState& state, QWidget* parent);

 protected:
  Status load_table() override;
  CellTable& cells() override { return table_.cells; }
  EthernetPort port() const override { return table_.port; }
  std::vector<int> column_widths() const override;
  std::optional<RowFailure> validate() const override;
  Status save_table() const override;
  QStringList list_choices(int column) const override;

 private:
  PdoTable table_{PdoVariant::kReceive, EthernetPort::kWithPort};
};

}  // namespace brenvale
