// The PDO tables: transmit PDOs (TpdoJ1939.xml) take their bytes from a receive J1939 frame,
// receive PDOs (pdoJ1939.xml) put theirs into a transmit J1939 frame. Both tie a PDO to its
// frame by the frame's position in the frames file, shown as the choice "n;PGN;ID_DEV;".
// The converter holds 10 PDOs of each kind with an Ethernet port and 4 without.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "j1939/cell_table.h"
#include "project/result.h"
#include "settings/ethernet_port.h"

namespace brenvale {

enum class PdoVariant { kTransmit, kReceive };

enum class TpdoColumn { kCobId, kDimension, kStartByte, kFrame, kDataChange, kOnCan, kOnTimer, kSendTimer, kMnemonic, kCount };
enum class RpdoColumn { kCobId, kDimension, kStartByte, kFrame, kMnemonic, kCount };

inline constexpr int kPdoCapacityWithPort = 10;
inline constexpr int kPdoCapacityWithoutPort = 4;

inline constexpr int kTpdoRowNumberHeader = 502;  // "N°"
inline constexpr int kTpdoRowErrorPrefix = 515;
inline constexpr int kTpdoDeleteQuestion = 521;
inline constexpr int kRpdoRowNumberHeader = 435;
inline constexpr int kRpdoRowErrorPrefix = 445;
inline constexpr int kRpdoDeleteQuestion = 450;

std::span<const ColumnDescriptor> tpdo_columns();
std::span<const ColumnDescriptor> rpdo_columns();

// The frame choices of a frames file, one per row in file order. With `multi_frame_lengths` a
// row whose MultiFrame is exactly "Y" has the length of its NByte (8 when that is no integer);
// every other frame has 8 bytes. No file gives no choices; a row without PGN or ID_DEV refuses.
Result<std::vector<FrameChoice>> load_frame_choices(const std::filesystem::path& frames_file, bool multi_frame_lengths);

// The data length of the frame chosen in a cell: 8 for an empty cell or a text that is no choice
// (compared ignoring letter case).
int chosen_frame_length(const std::vector<FrameChoice>& frames, std::string_view cell);

struct PdoTable {
  PdoTable(PdoVariant variant, EthernetPort port);

  PdoVariant variant;
  EthernetPort port;
  int capacity;
  std::vector<FrameChoice> frames;
  CellTable cells;
};

// Opening: the frame choices from the frames file (RCobDef.xml for transmit PDOs, TCobDef.xml
// for receive PDOs), the capacity by the Ethernet-port test, then the rows of the table file up
// to the capacity (longer files lose their extra rows at the next save).
Result<PdoTable> open_pdo_table(PdoVariant variant, const std::filesystem::path& par_gen,
                                const std::filesystem::path& frames_file, const std::filesystem::path& table_file);

// The first failing check in row order; rows from the first empty COB-ID on are not checked.
std::optional<RowFailure> validate_pdo_table(const PdoTable& table);

std::string pdo_table_text(const PdoTable& table);
Status save_pdo_table(const PdoTable& table, const std::filesystem::path& file);

}  // namespace brenvale
