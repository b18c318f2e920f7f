#include "project/xml_table.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Error{path.string() + ": cannot be opened"};
  // The text is read straight into a buffer that the document takes over and parses in place,
  // so that a large table is copied once, not three times.
  struct Buffer {
    char* data = nullptr;
    std::size_t size = 0;
    std::size_t capacity = 0;
    int fd;
    ~Buffer() {
      if (data) pugi::get_memory_deallocation_function()(data);
      ::close(fd);
    }
    bool reserve(std::size_t wanted) {
      char* bigger = static_cast<char*>(pugi::get_memory_allocation_function()(wanted));
      if (!bigger) return false;
      if (size) std::memcpy(bigger, data, size);
      if (data) pugi::get_memory_deallocation_function()(data);
      data = bigger;
      capacity = wanted;
      return true;
    }
  } buffer{nullptr, 0, 0, fd};
  struct stat st {};
  const bool sized = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
  // One byte more than the size, so that the read that meets the end needs no second buffer.
  if (!buffer.reserve(sized ? static_cast<std::size_t>(st.st_size) + 1 : 16384)) {
    return Error{path.string() + ": cannot be read"};
  }
  for (;;) {
    if (buffer.size == buffer.capacity && !buffer.reserve(buffer.capacity * 2)) {
      return Error{path.string() + ": cannot be read"};
    }
    const ssize_t n = ::read(fd, buffer.data + buffer.size, buffer.capacity - buffer.size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Error{path.string() + ": cannot be read"};
    }
    if (n == 0) break;
    buffer.size += static_cast<std::size_t>(n);
  }

  XmlDocument document;
  char* const text = std::exchange(buffer.data, nullptr);
  const pugi::xml_parse_result parsed =
      document.doc().load_buffer_inplace_own(text, buffer.size, pugi::parse_default, pugi::encoding_auto);
  if (parsed && document.root()) return document;
  // The parse changed the text in place; the message needs it as stored, so read it again
  // (only on this rare path) and let the copying parse give the error.
  std::ifstream in(path, std::ios::binary);
  const std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return parse_xml_text(stored, path.string());
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

RowAttributes::RowAttributes(pugi::xml_node row) {
  std::size_t count = 0;
  pugi::xml_attribute a = row.first_attribute();
  for (; a && count < kInline; a = a.next_attribute()) inline_[count++] = {a.name(), a.value()};
  if (!a) {
    begin_ = inline_.data();
    end_ = begin_ + count;
    return;
  }
  more_.assign(inline_.begin(), inline_.end());
  for (; a; a = a.next_attribute()) more_.push_back({a.name(), a.value()});
  begin_ = more_.data();
  end_ = begin_ + more_.size();
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
