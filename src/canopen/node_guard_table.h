// Node guarding: the converter guards up to 32 CANopen nodes, each with its guard time and life
// time factor, and reports their state on J1939 in five frames. The node list lives in
// NodeGuard.xml, the five frames in NG_J1939_Frame.xml; both are edited and saved together.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "canopen/frame_line.h"
#include "project/result.h"
#include "text/catalogue.h"

namespace brenvale {

inline constexpr const char* kNodeGuardRoot = "Node_Guarding";
inline constexpr const char* kNodeGuardFramesRoot = "NG_J1939_Frames";

inline constexpr int kGuardedNodeRows = 32;
inline constexpr int kNodeGuardFrameCount = 5;
inline constexpr int kNodeGuardDataPageChoices = 8;  // "0" ... "7"

// One entry of the node list, every field as typed.
struct GuardedNode {
  std::string node_id;
  std::string guard_time_ms;
  std::string life_time_factor;
  std::string mnemonic;

  bool operator==(const GuardedNode&) const = default;
};

// The node list's columns, described once: grid header, file attribute, the field, and the
// range check (text_index 0: no check).
struct GuardedNodeColumn {
  int header_index;
  const char* attribute;
  std::string GuardedNode::*field;
  int low;
  int high;
  int text_index;
};
inline constexpr int kNodeColumnCount = 4;
inline constexpr std::array<GuardedNodeColumn, kNodeColumnCount> kGuardedNodeColumns{{
    {407, "NodeID", &GuardedNode::node_id, 1, 127, 420},
    {408, "GuardTime", &GuardedNode::guard_time_ms, 1, 65535, 421},
    {409, "LifeTimeFactor", &GuardedNode::life_time_factor, 1, 255, 422},
    {410, "Mnemonic", &GuardedNode::mnemonic, 0, 0, 0},
}};
inline constexpr int kNodeNumberHeader = 406;  // "N°"
inline constexpr int kRowErrorPrefix = 419;    // "Error in row "

struct NodeGuardTable {
  // The 32 rows of the editor; the list is the rows before the first empty Node ID.
  std::array<GuardedNode, kGuardedNodeRows> rows;
  std::array<FrameLine, kNodeGuardFrameCount> frames;

  bool operator==(const NodeGuardTable&) const = default;
};

// Empty rows and the default frames (PGN "0x0001" ... "0x0005", SA "0x01" ... "0x05").
NodeGuardTable default_node_guard_table();

// How many rows belong to the list: the rows before the first one whose Node ID is empty.
int guarded_node_count(const NodeGuardTable& table);

// Missing files give an empty list and the default frames. The list comes from the child
// elements of `Node_Guarding` (of the document's first element when no element has that name),
// at most 32. The frames come from the first five child elements of `NG_J1939_Frames`, each on
// its own: a frame whose row is missing or unreadable takes all its defaults. An error only when
// a file cannot be read or is not well-formed (naming file, line and column).
Result<NodeGuardTable> load_node_guard_table(const std::filesystem::path& nodes_path,
                                             const std::filesystem::path& frames_path);

// The first failing check: the listed node rows first (Node ID, Guard Time, Life Time Factor of
// row 1, then row 2, ...), then PGN and SA of frame 1, 2, ...
struct NodeGuardFailure {
  enum class Place { NodeRow, Frame };
  Place place;
  int number;  // row 1 ... 32 or frame 1 ... 5
  int text_index;
  bool operator==(const NodeGuardFailure&) const = default;
};
std::optional<NodeGuardFailure> validate_node_guard_table(const NodeGuardTable& table);
// Row failures read "Error in row " + row + the check's text; frame failures their own text.
std::string failure_text(const Catalogue& catalogue, const NodeGuardFailure& failure);

// The two files as written.
std::string node_guard_xml(const NodeGuardTable& table);
std::string node_guard_frames_xml(const NodeGuardTable& table);

// Writes NodeGuard.xml, then NG_J1939_Frame.xml, each replaced as a whole. When the first write
// fails nothing has changed. When the second fails, the node list file is put back as it was
// before; the error says whether that worked or the node list is already the new one.
Status save_node_guard_table(const std::filesystem::path& nodes_path, const std::filesystem::path& frames_path,
                             const NodeGuardTable& table);

}  // namespace brenvale
