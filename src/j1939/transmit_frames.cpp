#include "j1939/transmit_frames.h"

#include <array>

#include "project/xml_table.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

constexpr CellEditor kText = CellEditor::kText;
constexpr CellEditor kCheck = CellEditor::kCheck;
constexpr CellStorage kPlain = CellStorage::kPlain;

// Column order is also the attribute order of the file.
constexpr std::array<ColumnDescriptor, static_cast<std::size_t>(TransmitColumn::kCount)> kColumns = {{
    {555, "Priority", kPlain, true, "", false, false, kText},
    {556, "DP", kPlain, true, "", false, false, CellEditor::kList},
    {557, "PGN", kPlain, true, "", false, false, kText},
    {558, "ID_DEV", kPlain, true, "", false, false, kText},
    {707, "NumByte", CellStorage::kFixed, false, "8", false, true, kText},
    {559, "OnRequest", kPlain, false, "N", true, false, kCheck},
    {560, "DataChange", kPlain, false, "N", true, false, kCheck},
    {561, "OnTimer", kPlain, false, "N", true, false, kCheck},
    {562, "OnTimer_Time", kPlain, false, "1000", true, false, kText},
    {563, "Mnemonic", kPlain, true, "", false, false, kText},
}};

enum Message {
  kPriorityMessage = 565,
  kDataPageMessage = 566,
  kPgnMessage = 567,
  kSourceAddressMessage = 568,
  kTimeMessage = 569,
};

constexpr int kKeyColumn = static_cast<int>(TransmitColumn::kPriority);

}  // namespace

std::span<const ColumnDescriptor> transmit_columns() { return kColumns; }

Result<TransmitFrames> load_transmit_frames(const std::filesystem::path& file, EthernetPort port) {
  TransmitFrames table;
  table.port = port;
  if (Status loaded = table.cells.load_file(file); !loaded) return loaded.error();
  return table;
}

Result<TransmitFrames> open_transmit_frames(const std::filesystem::path& par_gen, const std::filesystem::path& file) {
  Result<EthernetPort> port = read_ethernet_port(par_gen);
  if (!port) return port.error();
  return load_transmit_frames(file, *port);
}

std::optional<RowFailure> validate_transmit_frames(const TransmitFrames& table) {
  auto number = [&](int row, TransmitColumn column) { return parse_int_or(table.cell(row, column), -1); };
  for (int r = 0; r < kFrameTableRows; ++r) {
    auto fail = [&](int message) { return RowFailure{r + 1, kTransmitRowErrorPrefix, message, std::nullopt}; };
    if (trim_blanks(table.cell(r, TransmitColumn::kPriority)).empty()) return std::nullopt;
    const int priority = number(r, TransmitColumn::kPriority);
    if (priority < 0 || priority > 7) return fail(kPriorityMessage);
    if (trim_blanks(table.cell(r, TransmitColumn::kDataPage)).empty()) return fail(kDataPageMessage);
    const int pgn = number(r, TransmitColumn::kPgn);
    if (pgn < 0 || pgn > 131071) return fail(kPgnMessage);
    const int address = number(r, TransmitColumn::kSourceAddress);
    if (address < 0 || address > 255) return fail(kSourceAddressMessage);
    if (table.cell(r, TransmitColumn::kOnTimer) == "Y") {
      const int time = number(r, TransmitColumn::kTime);
      if (time < 1 || time > 10000000) return fail(kTimeMessage);
    }
  }
  return std::nullopt;
}

std::string transmit_frames_text(const TransmitFrames& table) {
  return table.cells.file_text(kFrameTableRoot, kKeyColumn);
}

Status save_transmit_frames(const TransmitFrames& table, const std::filesystem::path& file) {
  return table.cells.save(file, kFrameTableRoot, kKeyColumn);
}

}  // namespace brenvale
