#include "canopen/pdo_table.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "project/xml_table.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

constexpr CellEditor kText = CellEditor::kText;
constexpr CellEditor kCheck = CellEditor::kCheck;
constexpr CellStorage kPlain = CellStorage::kPlain;

// Column order is also the attribute order of the files.
constexpr std::array<ColumnDescriptor, static_cast<std::size_t>(TpdoColumn::kCount)> kTpdoColumns = {{
    {503, "COB-ID", kPlain, true, "", false, false, kText},
    {504, "Dimension", kPlain, true, "", false, false, kText},
    {505, "Offset", kPlain, false, "1", false, false, kText},
    {506, "Frame_J1939", CellStorage::kFrameNumber, false, "", false, false, CellEditor::kList},
    {507, "DataChange", kPlain, false, "", true, false, kCheck},
    {571, "OnCAN", kPlain, false, "", true, false, kCheck},
    {508, "OnTimer", kPlain, false, "", true, false, kCheck},
    {509, "SendTimer", kPlain, false, "", true, false, kText},
    {510, "Mnemonic", kPlain, true, "", false, false, kText},
}};

constexpr std::array<ColumnDescriptor, static_cast<std::size_t>(RpdoColumn::kCount)> kRpdoColumns = {{
    {436, "COB-ID", kPlain, true, "", false, false, kText},
    {437, "Dimension", kPlain, true, "", false, false, kText},
    {438, "Offset", kPlain, false, "1", false, false, kText},
    {439, "Frame_J1939", CellStorage::kFrameNumber, false, "", false, false, CellEditor::kList},
    {440, "Mnemonic", kPlain, true, "", false, false, kText},
}};

constexpr int kKeyColumn = 0;  // COB-ID in both tables
constexpr int kMaxCobId = 0x7FF;
constexpr int kMaxSendTimer_ms = 1000000;

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

std::optional<RowFailure> validate_transmit(const PdoTable& t) {
  auto cell = [&](int r, TpdoColumn c) -> const std::string& { return t.cells.cell(r, static_cast<int>(c)); };
  for (int r = 0; r < t.capacity; ++r) {
    auto fail = [&](int message, std::optional<int> number = std::nullopt) {
      return RowFailure{r + 1, kTpdoRowErrorPrefix, message, number};
    };
    if (trim_blanks(cell(r, TpdoColumn::kCobId)).empty()) return std::nullopt;
    const int cob_id = parse_int_or(cell(r, TpdoColumn::kCobId), -1);
    if (cob_id < 0 || cob_id > kMaxCobId) return fail(516);
    const int dimension = parse_int_or(cell(r, TpdoColumn::kDimension), -1);
    if (dimension < 1 || dimension > 8) return fail(517);
    const int length = chosen_frame_length(t.frames, cell(r, TpdoColumn::kFrame));
    const int start = parse_int_or(cell(r, TpdoColumn::kStartByte), -1);
    if (start < 1 || start > length) return fail(518, length);
    // Widened: a frame length read from the file may be any 32-bit value.
    if (static_cast<long long>(start) + dimension - 1 > length) return fail(519);
    if (t.cells.column_shown(static_cast<int>(TpdoColumn::kOnTimer), t.port)) {
      std::string on_timer = cell(r, TpdoColumn::kOnTimer);
      if (equal_ignoring_case(on_timer, "Y")) {
        const int period_ms = parse_int_or(cell(r, TpdoColumn::kSendTimer), -1);
        if (period_ms < 1 || period_ms > kMaxSendTimer_ms) return fail(520);
      }
    }
  }
  return std::nullopt;
}

std::optional<RowFailure> validate_receive(const PdoTable& t) {
  auto number = [&](int r, RpdoColumn c) { return parse_int_or(t.cells.cell(r, static_cast<int>(c)), -1); };
  for (int r = 0; r < t.capacity; ++r) {
    auto fail = [&](int message) { return RowFailure{r + 1, kRpdoRowErrorPrefix, message, std::nullopt}; };
    if (trim_blanks(t.cells.cell(r, static_cast<int>(RpdoColumn::kCobId))).empty()) return std::nullopt;
    const int cob_id = number(r, RpdoColumn::kCobId);
    if (cob_id < 0 || cob_id > kMaxCobId) return fail(446);
    const int dimension = number(r, RpdoColumn::kDimension);
    if (dimension < 1 || dimension > 8) return fail(447);
    const int start = number(r, RpdoColumn::kStartByte);
    if (start < 1 || start > 8) return fail(448);
    // Every transmit frame carries 8 bytes.
    if (dimension + start > 9) return fail(449);
  }
  return std::nullopt;
}

const char* root_name(PdoVariant variant) { return variant == PdoVariant::kTransmit ? "PDOJ1939" : "Define_RPDO"; }

}  // namespace

std::span<const ColumnDescriptor> tpdo_columns() { return kTpdoColumns; }
std::span<const ColumnDescriptor> rpdo_columns() { return kRpdoColumns; }

Result<std::vector<FrameChoice>> load_frame_choices(const std::filesystem::path& frames_file, bool multi_frame_lengths) {
  std::vector<FrameChoice> choices;
  std::error_code ec;
  if (!std::filesystem::exists(frames_file, ec)) return choices;
  Result<XmlDocument> document = load_xml_file(frames_file);
  if (!document) return document.error();
  const std::vector<pugi::xml_node> rows = element_children(document->root());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    const std::optional<std::string> pgn = attribute(rows[i], "PGN");
    if (!pgn) return missing_attribute(frames_file, n, "PGN");
    const std::optional<std::string> address = attribute(rows[i], "ID_DEV");
    if (!address) return missing_attribute(frames_file, n, "ID_DEV");
    FrameChoice choice{std::to_string(n) + ";" + *pgn + ";" + *address + ";", 8};
    if (multi_frame_lengths && attribute(rows[i], "MultiFrame") == "Y") {
      choice.length = parse_int_or(attribute(rows[i], "NByte").value_or(""), 8);
    }
    choices.push_back(std::move(choice));
  }
  return choices;
}

int chosen_frame_length(const std::vector<FrameChoice>& frames, std::string_view cell) {
  if (trim_blanks(cell).empty()) return 8;
  for (const FrameChoice& choice : frames) {
    if (equal_ignoring_case(choice.text, cell)) return choice.length;
  }
  return 8;
}

PdoTable::PdoTable(PdoVariant v, EthernetPort p)
    : variant(v),
      port(p),
      capacity(has_ethernet_port(p) ? kPdoCapacityWithPort : kPdoCapacityWithoutPort),
      cells(v == PdoVariant::kTransmit ? tpdo_columns() : rpdo_columns(), capacity) {}

Result<PdoTable> open_pdo_table(PdoVariant variant, const std::filesystem::path& par_gen,
                                const std::filesystem::path& frames_file, const std::filesystem::path& table_file) {
  Result<std::vector<FrameChoice>> frames = load_frame_choices(frames_file, variant == PdoVariant::kTransmit);
  if (!frames) return frames.error();
  Result<EthernetPort> port = read_ethernet_port(par_gen);
  if (!port) return port.error();
  PdoTable table(variant, *port);
  table.frames = std::move(*frames);
  if (Status loaded = table.cells.load_file(table_file, table.frames); !loaded) return loaded.error();
  return table;
}

std::optional<RowFailure> validate_pdo_table(const PdoTable& table) {
  return table.variant == PdoVariant::kTransmit ? validate_transmit(table) : validate_receive(table);
}

std::string pdo_table_text(const PdoTable& table) { return table.cells.file_text(root_name(table.variant), kKeyColumn); }

Status save_pdo_table(const PdoTable& table, const std::filesystem::path& file) {
  return table.cells.save(file, root_name(table.variant), kKeyColumn);
}

}  // namespace brenvale
