#include "j1939/cell_table.h"

#include <algorithm>

#include "project/atomic_file.h"
#include "project/xml_table.h"
#include "text/int_text.h"

namespace brenvale {

std::string failure_text(const Catalogue& catalogue, const RowFailure& failure) {
  std::string text = row_error(catalogue, failure.prefix, failure.row, failure.message);
  if (failure.number) text += std::to_string(*failure.number);
  return text;
}

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

CellTable::CellTable(std::span<const ColumnDescriptor> columns, int row_count)
    : columns_(columns),
      row_count_(row_count),
      cells_(static_cast<std::size_t>(row_count) * columns.size()) {}

const std::string& CellTable::cell(int row, int column) const {
  return cells_.at(static_cast<std::size_t>(row) * columns_.size() + static_cast<std::size_t>(column));
}

void CellTable::set_cell(int row, int column, std::string text) {
  cells_.at(static_cast<std::size_t>(row) * columns_.size() + static_cast<std::size_t>(column)) = std::move(text);
}

bool CellTable::column_shown(int column, EthernetPort port) const {
  const ColumnDescriptor& column_info = columns_[static_cast<std::size_t>(column)];
  if (column_info.always_hidden) return false;
  return !column_info.hidden_without_port || has_ethernet_port(port);
}

void CellTable::insert_row(int row) {
  if (row < 0 || row >= row_count_) return;
  const std::size_t width = columns_.size();
  const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row) * width);
  // Shifting the tail right by one row drops the last row's cells off the end.
  std::move_backward(first, cells_.end() - static_cast<std::ptrdiff_t>(width), cells_.end());
  std::fill(first, first + static_cast<std::ptrdiff_t>(width), std::string());
}

void CellTable::delete_row(int row) {
  if (row < 0 || row >= row_count_) return;
  const std::size_t width = columns_.size();
  const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row) * width);
  std::move(first + static_cast<std::ptrdiff_t>(width), cells_.end(), first);
  std::fill(cells_.end() - static_cast<std::ptrdiff_t>(width), cells_.end(), std::string());
}

std::vector<pugi::xml_node> element_children(pugi::xml_node node) {
  std::vector<pugi::xml_node> rows;
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element) rows.push_back(child);
  }
  return rows;
}

std::optional<int> frame_number_of_choice(std::string_view choice) {
  const std::size_t semicolon = choice.find(';');
  if (semicolon == std::string_view::npos) return std::nullopt;
  const std::optional<std::int32_t> n = parse_int(choice.substr(0, semicolon));
  if (!n || *n <= 0) return std::nullopt;
  return *n;
}

Status CellTable::load_rows(pugi::xml_node root, const std::filesystem::path& file,
                            std::span<const FrameChoice> frame_choices) {
  const std::vector<pugi::xml_node> rows = element_children(root);
  const int count = std::min(static_cast<int>(rows.size()), row_count_);
  for (int r = 0; r < count; ++r) {
    const pugi::xml_node row = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < column_count(); ++c) {
      const ColumnDescriptor& column_info = columns_[static_cast<std::size_t>(c)];
      if (column_info.storage == CellStorage::kFixed) {
        set_cell(r, c, column_info.fallback);
        continue;
      }
      std::optional<std::string> value = attribute(row, column_info.attribute);
      if (!value && column_info.required) return missing_attribute(file, r + 1, column_info.attribute);
      if (column_info.storage == CellStorage::kFrameNumber) {
        const std::int32_t n = value ? parse_int_or(*value, -1) : -1;
        const bool known = n >= 1 && static_cast<std::size_t>(n) <= frame_choices.size();
        set_cell(r, c, known ? frame_choices[static_cast<std::size_t>(n) - 1].text : std::string());
        continue;
      }
      set_cell(r, c, value ? std::move(*value) : std::string(column_info.fallback));
    }
  }
  return ok_status();
}

Status CellTable::load_file(const std::filesystem::path& file, std::span<const FrameChoice> frame_choices) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return ok_status();
  Result<XmlDocument> document = load_xml_file(file);
  if (!document) return document.error();
  return load_rows(document->root(), file, frame_choices);
}

int CellTable::content_rows(int key_column) const {
  for (int r = 0; r < row_count_; ++r) {
    if (trim_blanks(cell(r, key_column)).empty()) return r;
  }
  return row_count_;
}

std::string CellTable::file_text(const char* root_name, int key_column) const {
  XmlWriter writer(root_name);
  const int rows = content_rows(key_column);
  for (int r = 0; r < rows; ++r) {
    pugi::xml_node row = writer.add_row({});
    for (int c = 0; c < column_count(); ++c) {
      const ColumnDescriptor& column_info = columns_[static_cast<std::size_t>(c)];
      switch (column_info.storage) {
        case CellStorage::kPlain:
          row.append_attribute(column_info.attribute).set_value(cell(r, c).c_str());
          break;
        case CellStorage::kFixed:
          row.append_attribute(column_info.attribute).set_value(column_info.fallback);
          break;
        case CellStorage::kFrameNumber:
          if (const std::optional<int> n = frame_number_of_choice(cell(r, c))) {
            row.append_attribute(column_info.attribute).set_value(std::to_string(*n).c_str());
          }
          break;
      }
    }
  }
  return writer.text();
}

Status CellTable::save(const std::filesystem::path& path, const char* root_name, int key_column) const {
  return write_file_atomic(path, file_text(root_name, key_column));
}

}  // namespace brenvale
