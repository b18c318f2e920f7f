#include "canopen/sdo_client_table.h"

#include <system_error>

#include "project/xml_table.h"

namespace brenvale {

namespace {

// "Error in Request SDO Read!! PGN must be ..."; each frame has its PGN text and then its SA
// text, frame after frame.
constexpr int kFirstFrameText = 393;

void fill(XmlWriter& writer, const SdoClientTable& table) {
  for (int i = 0; i < kSdoClientFrameCount; ++i) {
    const auto frame = static_cast<SdoClientFrame>(i);
    const FrameLine& line = table[frame];
    add_frame_row(writer, line, sdo_frame_has_priority(frame) ? line.priority : 0);
  }
}

}  // namespace

bool sdo_frame_has_priority(SdoClientFrame frame) {
  return frame == SdoClientFrame::ReadAnswer || frame == SdoClientFrame::WriteAnswer;
}

SdoClientTable default_sdo_client_table() {
  SdoClientTable table;
  for (int i = 0; i < kSdoClientFrameCount; ++i) table.frames[static_cast<std::size_t>(i)] = default_frame_line(i + 1);
  return table;
}

Result<SdoClientTable> load_sdo_client_table(const std::filesystem::path& path) {
  SdoClientTable table = default_sdo_client_table();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return table;

  Result<XmlDocument> document = load_xml_file(path);
  if (!document) return document.error();

  const std::vector<pugi::xml_node> rows =
      child_elements(document->element(kSdoClientRoot), static_cast<std::size_t>(kSdoClientFrameCount));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto frame = static_cast<SdoClientFrame>(i);
    if (std::optional<FrameLine> line = read_frame_line(rows[i], sdo_frame_has_priority(frame), kSdoDataPageChoices)) {
      table.frames[i] = std::move(*line);
    }
  }
  return table;
}

std::optional<SdoClientFailure> validate_sdo_client_table(const SdoClientTable& table) {
  for (int i = 0; i < kSdoClientFrameCount; ++i) {
    const FrameLine& line = table.frames[static_cast<std::size_t>(i)];
    if (!pgn_in_range(line.pgn)) return SdoClientFailure{i + 1, kFirstFrameText + 2 * i};
    if (!source_address_in_range(line.sa)) return SdoClientFailure{i + 1, kFirstFrameText + 2 * i + 1};
  }
  return std::nullopt;
}

std::string failure_text(const Catalogue& catalogue, const SdoClientFailure& failure) {
  return catalogue.get(failure.text_index);
}

std::string sdo_client_xml(const SdoClientTable& table) {
  XmlWriter writer(kSdoClientRoot);
  fill(writer, table);
  return writer.text();
}

Status save_sdo_client_table(const std::filesystem::path& path, const SdoClientTable& table) {
  XmlWriter writer(kSdoClientRoot);
  fill(writer, table);
  return writer.save(path);
}

}  // namespace brenvale
