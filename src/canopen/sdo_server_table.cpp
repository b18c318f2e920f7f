#include "canopen/sdo_server_table.h"

#include <algorithm>
#include <cctype>

#include "j1939/cell_table.h"
#include "j1939/receive_frames.h"
#include "project/atomic_file.h"
#include "project/xml_table.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

constexpr int kFirstIndex = 0x2000;
constexpr int kLastIndex = 0x5FFF;
constexpr int kLastSubIndex = 255;

constexpr const char* kByteAttributes[4] = {"B1", "B2", "B3", "B4"};

const SdoTexts kReadTexts = {451, 452, 453, 454, 455, 456, 457, 458, 459, 460, {461, 462, 463, 464}, 0,
                             465, 466, 467, 468, 469, 470, 471, 472, 473, 474};
const SdoTexts kWriteTexts = {475, 476, 477, 478, 479, 480, 481, 482, 483, 484, {485, 486, 487, 488}, 489,
                              490, 491, 492, 493, 494, 495, 496, 497, 498, 499};

const char* root_name(SdoVariant variant) { return variant == SdoVariant::kRead ? "RInfoCob" : "DefineSDOServerTraJ1939"; }

// A read frame's data length: a transport-protocol frame gives its NByte (0 when that is no
// integer), any other frame 8; a row missing either attribute counts as a single frame.
int read_frame_length(pugi::xml_node row) {
  const std::optional<std::string> multi = attribute(row, "MultiFrame");
  const std::optional<std::string> bytes = attribute(row, "NByte");
  if (!multi || !bytes) return 8;
  std::string flag(trim_blanks(*multi));
  std::transform(flag.begin(), flag.end(), flag.begin(), [](unsigned char c) { return std::toupper(c); });
  return flag == "Y" ? parse_int_or(*bytes, 0) : 8;
}

Result<std::vector<TJ1939_Frame>> load_frames(SdoVariant variant, const std::filesystem::path& file) {
  std::vector<TJ1939_Frame> frames;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return frames;
  Result<XmlDocument> document = load_xml_file(file);
  if (!document) return document.error();
  const std::vector<pugi::xml_node> rows = element_children(document->root());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    TJ1939_Frame frame;
    const std::optional<std::string> dp = attribute(rows[i], "DP");
    if (!dp && variant == SdoVariant::kWrite) return missing_attribute(file, n, "DP");
    const std::optional<std::string> pgn = attribute(rows[i], "PGN");
    if (!pgn) return missing_attribute(file, n, "PGN");
    const std::optional<std::string> address = attribute(rows[i], "ID_DEV");
    if (!address) return missing_attribute(file, n, "ID_DEV");
    frame.data_page = dp.value_or("");
    frame.pgn = *pgn;
    frame.source_address = *address;
    frame.num_byte = variant == SdoVariant::kRead ? read_frame_length(rows[i]) : 8;
    frames.push_back(std::move(frame));
  }
  return frames;
}

}  // namespace

const SdoTexts& sdo_texts(SdoVariant variant) { return variant == SdoVariant::kRead ? kReadTexts : kWriteTexts; }

std::string sdo_frame_line(const TJ1939_Frame& frame) {
  return frame.data_page + "\t" + frame.pgn + "\t" + frame.source_address;
}

std::string sdo_object_line(const TSDO& object) {
  return "Index : " + object.index + "; " + "Sub : " + object.sub_index + ";";
}

std::vector<std::string> sdo_byte_choices(int length) {
  std::vector<std::string> choices = {"None"};
  for (int k = 1; k <= std::min(length, kMaxTransportBytes); ++k) choices.push_back("Byte " + std::to_string(k));
  return choices;
}

std::array<bool, 4> sdo_bytes_enabled(int dimension) {
  switch (dimension) {
    case 1:
      return {true, true, false, false};
    case 2:
      return {true, false, false, false};
    default:
      return {true, true, true, true};
  }
}

TSDO apply_sdo_size_rule(TSDO object) {
  const std::array<bool, 4> enabled = sdo_bytes_enabled(object.dimension);
  for (std::size_t b = 0; b < 4; ++b) {
    if (!enabled[b]) object.bytes[b] = 0;
  }
  return object;
}

Result<SdoServerTable> SdoServerTable::open(SdoVariant variant, const std::filesystem::path& frames_file,
                                            const std::filesystem::path& object_file) {
  SdoServerTable table(variant);
  Result<std::vector<TJ1939_Frame>> frames = load_frames(variant, frames_file);
  if (!frames) return frames.error();
  table.frames_ = std::move(*frames);
  std::error_code ec;
  if (table.frames_.empty() || !std::filesystem::exists(object_file, ec)) return table;

  Result<XmlDocument> document = load_xml_file(object_file);
  if (!document) return document.error();
  const std::vector<pugi::xml_node> rows = element_children(document->root());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row_number = static_cast<int>(i) + 1;
    std::vector<const char*> names = {"NrPdo", "Index", "SubIndex", "Dimension", "B1", "B2", "B3", "B4"};
    if (variant == SdoVariant::kWrite) names.push_back("Send_SDO");
    for (const char* name : names) {
      if (!attribute(rows[i], name)) return missing_attribute(object_file, row_number, name);
    }
    auto number = [&](const char* name) { return parse_int_or(rows[i].attribute(name).value(), 0); };
    const int n = parse_int_or(rows[i].attribute("NrPdo").value(), -1);
    if (n < 1 || n > static_cast<int>(table.frames_.size())) continue;
    TSDO object;
    object.index = rows[i].attribute("Index").value();
    object.sub_index = rows[i].attribute("SubIndex").value();
    object.dimension = number("Dimension");
    for (std::size_t b = 0; b < 4; ++b) object.bytes[b] = number(kByteAttributes[b]);
    if (variant == SdoVariant::kWrite) object.send_on_write = number("Send_SDO");
    table.frames_[static_cast<std::size_t>(n) - 1].objects.push_back(std::move(object));
  }
  return table;
}

std::optional<int> SdoServerTable::check(const TSDO& editor, std::optional<std::pair<int, int>> modifying) const {
  const SdoTexts& texts = sdo_texts(variant_);
  const int index = parse_int_or(editor.index, -1);
  if (index < kFirstIndex || index > kLastIndex) return texts.index_error;
  const int sub_index = parse_int_or(editor.sub_index, -1);
  if (sub_index < 0 || sub_index > kLastSubIndex) return texts.sub_index_error;
  for (std::size_t f = 0; f < frames_.size(); ++f) {
    const std::vector<TSDO>& objects = frames_[f].objects;
    for (std::size_t m = 0; m < objects.size(); ++m) {
      if (modifying && modifying->first == static_cast<int>(f) && modifying->second == static_cast<int>(m)) continue;
      // Texts that are no integers never name the same object.
      const std::optional<std::int32_t> other_index = parse_int(objects[m].index);
      const std::optional<std::int32_t> other_sub = parse_int(objects[m].sub_index);
      if (other_index == index && other_sub == sub_index) return texts.used_error;
    }
  }
  return std::nullopt;
}

std::optional<int> SdoServerTable::create(int frame, const TSDO& editor) {
  if (frame < 0 || frame >= static_cast<int>(frames_.size())) return std::nullopt;
  if (std::optional<int> failure = check(editor, std::nullopt)) return failure;
  frames_[static_cast<std::size_t>(frame)].objects.push_back(editor);
  return std::nullopt;
}

std::optional<int> SdoServerTable::modify(int frame, int position, const TSDO& editor) {
  if (frame < 0 || frame >= static_cast<int>(frames_.size())) return std::nullopt;
  std::vector<TSDO>& objects = frames_[static_cast<std::size_t>(frame)].objects;
  if (position < 0 || position >= static_cast<int>(objects.size())) return std::nullopt;
  if (std::optional<int> failure = check(editor, std::pair{frame, position})) return failure;
  objects[static_cast<std::size_t>(position)] = editor;
  return std::nullopt;
}

void SdoServerTable::remove(int frame, int position) {
  if (frame < 0 || frame >= static_cast<int>(frames_.size())) return;
  std::vector<TSDO>& objects = frames_[static_cast<std::size_t>(frame)].objects;
  if (position < 0 || position >= static_cast<int>(objects.size())) return;
  objects.erase(objects.begin() + position);
}

std::string SdoServerTable::file_text() const {
  XmlWriter writer(root_name(variant_));
  for (std::size_t f = 0; f < frames_.size(); ++f) {
    const std::string nr = std::to_string(f + 1);
    for (const TSDO& object : frames_[f].objects) {
      const std::string dimension = std::to_string(object.dimension);
      const std::string b[4] = {std::to_string(object.bytes[0]), std::to_string(object.bytes[1]),
                                std::to_string(object.bytes[2]), std::to_string(object.bytes[3])};
      pugi::xml_node row = writer.add_row({{"NrPdo", nr},
                                           {"Index", object.index},
                                           {"SubIndex", object.sub_index},
                                           {"Dimension", dimension},
                                           {"B1", b[0]},
                                           {"B2", b[1]},
                                           {"B3", b[2]},
                                           {"B4", b[3]}});
      if (variant_ == SdoVariant::kWrite) {
        row.append_attribute("Send_SDO").set_value(std::to_string(object.send_on_write).c_str());
      }
    }
  }
  return writer.text();
}

Status SdoServerTable::save(const std::filesystem::path& object_file) const {
  return write_file_atomic(object_file, file_text());
}

}  // namespace brenvale
