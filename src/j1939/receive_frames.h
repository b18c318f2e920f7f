// The receive frames table (RCobDef.xml): the J1939 parameter groups the converter takes from
// the J1939 network, each a single 8-byte frame or a window of bytes of a transport-protocol
// message. The PDO and SDO tables refer to these frames by their row number.
#pragma once

#include <filesystem>
#include <optional>

#include "j1939/cell_table.h"
#include "project/result.h"
#include "settings/ethernet_port.h"

namespace brenvale {

enum class ReceiveColumn {
  kDataPage,
  kPgn,
  kSourceAddress,
  kTransportProtocol,
  kStartByte,
  kNumBytes,
  kCancelData,
  kOnRequest,
  kTime,
  kMnemonic,
  kCount
};

inline constexpr int kFrameTableRows = 100;
inline constexpr const char* kFrameTableRoot = "COBID";
inline constexpr int kReceiveRowNumberHeader = 528;  // "N°"
inline constexpr int kReceiveRowErrorPrefix = 539;   // "Error in row "
inline constexpr int kReceiveDeleteQuestion = 547;   // "Are you sure to delete the Row number "
inline constexpr int kMaxTransportBytes = 1785;      // a transport-protocol message carries at most this
inline constexpr int kMaxReceiveBytes = 2000;        // the converter's buffer for all receive frames

std::span<const ColumnDescriptor> receive_columns();

struct ReceiveFrames {
  CellTable cells{receive_columns(), kFrameTableRows};
  EthernetPort port = EthernetPort::kWithPort;

  const std::string& cell(int row, ReceiveColumn column) const { return cells.cell(row, static_cast<int>(column)); }
  void set_cell(int row, ReceiveColumn column, std::string text) {
    cells.set_cell(row, static_cast<int>(column), std::move(text));
  }
  bool shown(ReceiveColumn column) const { return cells.column_shown(static_cast<int>(column), port); }
};

// 100 rows filled from the file; no file gives an empty table.
Result<ReceiveFrames> load_receive_frames(const std::filesystem::path& file, EthernetPort port);
// The window's opening: the Ethernet-port test on ParGen.xml (which must be well-formed when it
// exists), then the load.
Result<ReceiveFrames> open_receive_frames(const std::filesystem::path& par_gen, const std::filesystem::path& file);

// The first failing check, in row order; checks of hidden columns are skipped.
std::optional<RowFailure> validate_receive_frames(const ReceiveFrames& table);

std::string receive_frames_text(const ReceiveFrames& table);
Status save_receive_frames(const ReceiveFrames& table, const std::filesystem::path& file);

}  // namespace brenvale
