#include "project/xml_table.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "project/atomic_file.h"

namespace brenvale {

namespace {

// pugixml reports a byte offset; users look for a line and a column.
std::string position_of(std::string_view text, std::ptrdiff_t offset) {
  if (offset < 0) offset = 0;
  if (static_cast<std::size_t>(offset) > text.size()) offset = static_cast<std::ptrdiff_t>(text.size());
  int line = 1;
  int column = 1;
  for (std::ptrdiff_t i = 0; i < offset; ++i) {
    if (text[static_cast<std::size_t>(i)] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

XmlDocument::XmlDocument() : doc_(std::make_unique<pugi::xml_document>()) {}

pugi::xml_node XmlDocument::root() const { return doc_->first_child(); }

pugi::xml_node XmlDocument::element(const char* name) const {
  for (pugi::xml_node n : doc_->children()) {
    if (n.type() == pugi::node_element && std::string_view(n.name()) == name) return n;
  }
  return {};
}

Result<XmlDocument> parse_xml_text(std::string_view text, const std::string& name) {
  XmlDocument document;
  const pugi::xml_parse_result parsed =
      document.doc().load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
  if (!parsed) {
    return Error{name + ": " + position_of(text, parsed.offset) + ": " + parsed.description()};
  }
  if (!document.root()) {
    return Error{name + ": the file holds no XML element"};
  }
  return document;
}

Result<XmlDocument> load_xml_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{path.string() + ": cannot be opened"};
  // Read in blocks: a character-by-character read costs about as much as parsing a large table.
  std::string text;
  std::error_code size_error;
  const std::uintmax_t size = std::filesystem::file_size(path, size_error);
  if (!size_error) text.reserve(static_cast<std::size_t>(size));
  char block[16384];
  while (in.read(block, sizeof block) || in.gcount() > 0) text.append(block, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return Error{path.string() + ": cannot be read"};
  return parse_xml_text(text, path.string());
}

std::optional<std::string> attribute(pugi::xml_node node, const char* name) {
  const pugi::xml_attribute a = node.attribute(name);
  if (!a) return std::nullopt;
  return std::string(a.value());
}

std::optional<std::string> child_text(pugi::xml_node node, const char* name) {
  const pugi::xml_node child = node.child(name);
  if (!child) return std::nullopt;
  return std::string(child.text().get());
}

Error missing_attribute(const std::filesystem::path& path, int row, const char* name) {
  return Error{path.string() + ": row " + std::to_string(row) + " has no attribute " + name};
}

XmlWriter::XmlWriter(const char* root_name) {
  root_ = doc_.append_child(root_name);
  doc_.append_child(pugi::node_comment).set_value(kVersionComment);
}

pugi::xml_node XmlWriter::add_row(Attributes attributes) {
  pugi::xml_node row = root_.append_child("row");
  for (const auto& [name, value] : attributes) {
    row.append_attribute(name).set_value(std::string(value).c_str());
  }
  return row;
}

pugi::xml_node XmlWriter::add_text_element(pugi::xml_node parent, const char* name, std::string_view text) {
  pugi::xml_node element = parent.append_child(name);
  if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
  return element;
}

std::string XmlWriter::text() const {
  std::ostringstream out;
  doc_.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

Status XmlWriter::save(const std::filesystem::path& path) const { return write_file_atomic(path, text()); }

}  // namespace brenvale
