// The transmit frames table (TCobDef.xml): the J1939 parameter groups the converter sends, each
// with the fields of its 29-bit identifier and the conditions that make it go out. Every
// transmit frame carries 8 data bytes. The receive PDO and SDO write tables refer to these
// frames by their row number.
#pragma once

#include <filesystem>
#include <optional>

#include "j1939/cell_table.h"
#include "j1939/receive_frames.h"
#include "project/result.h"
#include "settings/ethernet_port.h"

namespace brenvale {

enum class TransmitColumn {
  kPriority,
  kDataPage,
  kPgn,
  kSourceAddress,
  kNumByte,
  kOnRequest,
  kDataChange,
  kOnTimer,
  kTime,
  kMnemonic,
  kCount
};

inline constexpr int kTransmitRowNumberHeader = 554;  // "N°"
inline constexpr int kTransmitRowErrorPrefix = 564;   // "Error in row "
inline constexpr int kTransmitDeleteQuestion = 570;   // "Are you sure to delete the Row number "

std::span<const ColumnDescriptor> transmit_columns();

struct TransmitFrames {
  CellTable cells{transmit_columns(), kFrameTableRows};
  EthernetPort port = EthernetPort::kWithPort;

  const std::string& cell(int row, TransmitColumn column) const { return cells.cell(row, static_cast<int>(column)); }
  void set_cell(int row, TransmitColumn column, std::string text) {
    cells.set_cell(row, static_cast<int>(column), std::move(text));
  }
  bool shown(TransmitColumn column) const { return cells.column_shown(static_cast<int>(column), port); }
};

Result<TransmitFrames> load_transmit_frames(const std::filesystem::path& file, EthernetPort port);
Result<TransmitFrames> open_transmit_frames(const std::filesystem::path& par_gen, const std::filesystem::path& file);

// The first failing check, in row order. Every check runs whatever the columns shown: a hidden
// timer still has to be valid, since the converter uses it.
std::optional<RowFailure> validate_transmit_frames(const TransmitFrames& table);

std::string transmit_frames_text(const TransmitFrames& table);
Status save_transmit_frames(const TransmitFrames& table, const std::filesystem::path& file);

}  // namespace brenvale
