#include "canopen/node_guard_table.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "project/atomic_file.h"
#include "project/xml_table.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

// "Error in Frame J1939 1. PGN must be ..."; each frame has its PGN text and then its SA text,
// frame after frame.
constexpr int kFirstFrameText = 423;

bool file_exists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

Status load_nodes(const std::filesystem::path& path, NodeGuardTable& table) {
  if (!file_exists(path)) return ok_status();
  Result<XmlDocument> document = load_xml_file(path);
  if (!document) return document.error();

  pugi::xml_node root = document->element(kNodeGuardRoot);
  // A file with another root still holds the user's rows; keeping them in view means the next
  // save does not drop them unseen.
  if (!root) root = document->root();
  const std::vector<pugi::xml_node> rows = child_elements(root, kGuardedNodeRows);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (const GuardedNodeColumn& column : kGuardedNodeColumns) {
      table.rows[i].*column.field = attribute(rows[i], column.attribute).value_or("");
    }
  }
  return ok_status();
}

Status load_frames(const std::filesystem::path& path, NodeGuardTable& table) {
  if (!file_exists(path)) return ok_status();
  Result<XmlDocument> document = load_xml_file(path);
  if (!document) return document.error();

  const std::vector<pugi::xml_node> rows = child_elements(document->element(kNodeGuardFramesRoot), kNodeGuardFrameCount);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (std::optional<FrameLine> line = read_frame_line(rows[i], true, kNodeGuardDataPageChoices)) {
      table.frames[i] = std::move(*line);
    }
  }
  return ok_status();
}

void fill_nodes(XmlWriter& writer, const NodeGuardTable& table) {
  const int count = guarded_node_count(table);
  for (int r = 0; r < count; ++r) {
    const GuardedNode& node = table.rows[static_cast<std::size_t>(r)];
    writer.add_row({{kGuardedNodeColumns[0].attribute, node.*kGuardedNodeColumns[0].field},
                    {kGuardedNodeColumns[1].attribute, node.*kGuardedNodeColumns[1].field},
                    {kGuardedNodeColumns[2].attribute, node.*kGuardedNodeColumns[2].field},
                    {kGuardedNodeColumns[3].attribute, node.*kGuardedNodeColumns[3].field}});
  }
}

void fill_frames(XmlWriter& writer, const NodeGuardTable& table) {
  for (const FrameLine& line : table.frames) add_frame_row(writer, line, line.priority);
}

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

NodeGuardTable default_node_guard_table() {
  NodeGuardTable table;
  for (int i = 0; i < kNodeGuardFrameCount; ++i) table.frames[static_cast<std::size_t>(i)] = default_frame_line(i + 1);
  return table;
}

int guarded_node_count(const NodeGuardTable& table) {
  int count = 0;
  while (count < kGuardedNodeRows && !table.rows[static_cast<std::size_t>(count)].node_id.empty()) ++count;
  return count;
}

Result<NodeGuardTable> load_node_guard_table(const std::filesystem::path& nodes_path,
                                             const std::filesystem::path& frames_path) {
  NodeGuardTable table = default_node_guard_table();
  if (Status s = load_nodes(nodes_path, table); !s) return s.error();
  if (Status s = load_frames(frames_path, table); !s) return s.error();
  return table;
}

std::optional<NodeGuardFailure> validate_node_guard_table(const NodeGuardTable& table) {
  const int count = guarded_node_count(table);
  for (int r = 0; r < count; ++r) {
    const GuardedNode& node = table.rows[static_cast<std::size_t>(r)];
    for (const GuardedNodeColumn& column : kGuardedNodeColumns) {
      if (column.text_index == 0) continue;
      const int value = parse_int_or(node.*column.field, -1);
      if (value < column.low || value > column.high) {
        return NodeGuardFailure{NodeGuardFailure::Place::NodeRow, r + 1, column.text_index};
      }
    }
  }
  for (int i = 0; i < kNodeGuardFrameCount; ++i) {
    const FrameLine& line = table.frames[static_cast<std::size_t>(i)];
    if (!pgn_in_range(line.pgn)) return NodeGuardFailure{NodeGuardFailure::Place::Frame, i + 1, kFirstFrameText + 2 * i};
    if (!source_address_in_range(line.sa)) {
      return NodeGuardFailure{NodeGuardFailure::Place::Frame, i + 1, kFirstFrameText + 2 * i + 1};
    }
  }
  return std::nullopt;
}

std::string failure_text(const Catalogue& catalogue, const NodeGuardFailure& failure) {
  if (failure.place == NodeGuardFailure::Place::NodeRow) {
    return row_error(catalogue, kRowErrorPrefix, failure.number, failure.text_index);
  }
  return catalogue.get(failure.text_index);
}

std::string node_guard_xml(const NodeGuardTable& table) {
  XmlWriter writer(kNodeGuardRoot);
  fill_nodes(writer, table);
  return writer.text();
}

std::string node_guard_frames_xml(const NodeGuardTable& table) {
  XmlWriter writer(kNodeGuardFramesRoot);
  fill_frames(writer, table);
  return writer.text();
}

Status save_node_guard_table(const std::filesystem::path& nodes_path, const std::filesystem::path& frames_path,
                             const NodeGuardTable& table) {
  // Both texts are complete before either file is touched.
  const std::string nodes_text = node_guard_xml(table);
  const std::string frames_text = node_guard_frames_xml(table);

  const bool had_nodes = file_exists(nodes_path);
  const std::optional<std::string> old_nodes = had_nodes ? read_whole_file(nodes_path) : std::nullopt;

  if (Status s = write_file_atomic(nodes_path, nodes_text); !s) return s.error();
  Status frames = write_file_atomic(frames_path, frames_text);
  if (frames) return ok_status();

  // The pair must stay consistent: put the node list back as it was.
  bool restored = false;
  if (!had_nodes) {
    std::error_code ec;
    restored = std::filesystem::remove(nodes_path, ec);
  } else if (old_nodes) {
    restored = write_file_atomic(nodes_path, *old_nodes).ok();
  }
  const std::string node_file = nodes_path.filename().string();
  return Error{frames.error().message + (restored ? "\n" + node_file + " was left as it was."
                                                  : "\n" + node_file + " has already been saved with the new list.")};
}

}  // namespace brenvale
