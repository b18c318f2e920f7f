#include "j1939/receive_frames.h"

#include <array>

#include "project/xml_table.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

constexpr CellEditor kText = CellEditor::kText;
constexpr CellEditor kCheck = CellEditor::kCheck;
constexpr CellStorage kPlain = CellStorage::kPlain;

// Column order is also the attribute order of the file.
constexpr std::array<ColumnDescriptor, static_cast<std::size_t>(ReceiveColumn::kCount)> kColumns = {{
    {529, "DP", kPlain, false, "0", true, false, CellEditor::kList},
    {530, "PGN", kPlain, true, "", false, false, kText},
    {531, "ID_DEV", kPlain, true, "", false, false, kText},
    {532, "MultiFrame", kPlain, false, "", true, false, kCheck},
    {533, "StartByte", kPlain, false, "", true, false, kText},
    {534, "NByte", kPlain, false, "", true, false, kText},
    {535, "Delete", kPlain, true, "", false, false, kCheck},
    {536, "OnRequest", kPlain, false, "N", true, false, kCheck},
    {537, "OnReq_Time", kPlain, false, "1000", true, false, kText},
    {538, "Mnemonic", kPlain, true, "", false, false, kText},
}};

enum Message {
  kDataPageMessage = 540,
  kPgnMessage = 541,
  kSourceAddressMessage = 542,
  kStartByteMessage = 543,
  kStartPlusBytesMessage = 544,
  kTotalMessage = 545,
  kTimeMessage = 546,
};

constexpr int kKeyColumn = static_cast<int>(ReceiveColumn::kPgn);

}  // namespace

std::span<const ColumnDescriptor> receive_columns() { return kColumns; }

Result<ReceiveFrames> load_receive_frames(const std::filesystem::path& file, EthernetPort port) {
  ReceiveFrames table;
  table.port = port;
  if (Status loaded = table.cells.load_file(file); !loaded) return loaded.error();
  return table;
}

Result<ReceiveFrames> open_receive_frames(const std::filesystem::path& par_gen, const std::filesystem::path& file) {
  Result<EthernetPort> port = read_ethernet_port(par_gen);
  if (!port) return port.error();
  return load_receive_frames(file, *port);
}

std::optional<RowFailure> validate_receive_frames(const ReceiveFrames& table) {
  auto number = [&](int row, ReceiveColumn column) { return parse_int_or(table.cell(row, column), -1); };
  int total_bytes = 0;
  for (int r = 0; r < kFrameTableRows; ++r) {
    auto fail = [&](int message) { return RowFailure{r + 1, kReceiveRowErrorPrefix, message, std::nullopt}; };
    if (trim_blanks(table.cell(r, ReceiveColumn::kPgn)).empty()) return std::nullopt;
    if (table.shown(ReceiveColumn::kDataPage) && trim_blanks(table.cell(r, ReceiveColumn::kDataPage)).empty()) {
      return fail(kDataPageMessage);
    }
    const int pgn = number(r, ReceiveColumn::kPgn);
    if (pgn < 0 || pgn > 65535) return fail(kPgnMessage);
    const int address = number(r, ReceiveColumn::kSourceAddress);
    if (address < 0 || address > 255) return fail(kSourceAddressMessage);

    int length = 8;
    if (table.shown(ReceiveColumn::kTransportProtocol) && table.cell(r, ReceiveColumn::kTransportProtocol) == "Y") {
      const int start = number(r, ReceiveColumn::kStartByte);
      const int bytes = number(r, ReceiveColumn::kNumBytes);
      if (start < 0 || start > kMaxTransportBytes) return fail(kStartByteMessage);
      if (bytes < 1 || bytes > kMaxTransportBytes - start) return fail(kStartPlusBytesMessage);
      length = bytes;
    }
    total_bytes += length;
    if (total_bytes > kMaxReceiveBytes) return fail(kTotalMessage);

    if (table.shown(ReceiveColumn::kOnRequest) && table.cell(r, ReceiveColumn::kOnRequest) == "Y") {
      const int time = number(r, ReceiveColumn::kTime);
      if (time < 2 || time > 10000000) return fail(kTimeMessage);
    }
  }
  return std::nullopt;
}

std::string receive_frames_text(const ReceiveFrames& table) {
  return table.cells.file_text(kFrameTableRoot, kKeyColumn);
}

Status save_receive_frames(const ReceiveFrames& table, const std::filesystem::path& file) {
  return table.cells.save(file, kFrameTableRoot, kKeyColumn);
}

}  // namespace brenvale
