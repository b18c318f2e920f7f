// The file layer of every table of a configuration (and of the application settings): an XML
// document without declaration whose first node is the root, followed at document level by the
// comment "SW_VERSION = 2.001"; rows are elements whose attributes stand in a fixed order.
#pragma once

#include <array>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "project/result.h"

namespace brenvale {

inline constexpr const char* kVersionComment = "SW_VERSION = 2.001";

class XmlDocument {
 public:
  XmlDocument();
  // The first node of the document, whatever its name.
  pugi::xml_node root() const;
  // The first element of the document with this name, or an empty node.
  pugi::xml_node element(const char* name) const;
  pugi::xml_document& doc() { return *doc_; }

 private:
  std::unique_ptr<pugi::xml_document> doc_;
};

// Loads a file; a file that cannot be read or is not well-formed gives an error naming the
// file, the line and column, and the parser's message.
Result<XmlDocument> load_xml_file(const std::filesystem::path& path);
// The same for text already in memory; `name` stands for the file in messages.
Result<XmlDocument> parse_xml_text(std::string_view text, const std::string& name);

// An attribute's text; nothing when the attribute is missing (an empty text is present).
std::optional<std::string> attribute(pugi::xml_node node, const char* name);
// The text of the first child element with this name; nothing when there is no such child.
std::optional<std::string> child_text(pugi::xml_node node, const char* name);

// The attributes of one row, read once, for many lookups by name. As with pugixml's
// attribute(name), the first attribute of a name counts; the lookups compare the first
// character inline before a full comparison, so a row of ten attributes read field by field
// costs a fraction of a lookup through pugixml each time.
class RowAttributes {
 public:
  explicit RowAttributes(pugi::xml_node row);
  RowAttributes(const RowAttributes&) = delete;
  RowAttributes& operator=(const RowAttributes&) = delete;

  // The attribute's text; nullptr when the row has none of that name.
  const char* find(const char* name) const {
    for (const Entry* e = begin_; e != end_; ++e) {
      if (e->name[0] == name[0] && std::strcmp(e->name, name) == 0) return e->value;
    }
    return nullptr;
  }
  // Its text; "" when missing.
  const char* value(const char* name) const {
    const char* text = find(name);
    return text ? text : "";
  }

 private:
  struct Entry {
    const char* name;
    const char* value;
  };
  static constexpr std::size_t kInline = 16;
  std::array<Entry, kInline> inline_;
  std::vector<Entry> more_;  // only for a row with more attributes than fit inline
  const Entry* begin_ = nullptr;
  const Entry* end_ = nullptr;
};

// The message of a load that stops on a row without a required attribute.
Error missing_attribute(const std::filesystem::path& path, int row, const char* name);

using Attributes = std::initializer_list<std::pair<const char*, std::string_view>>;

// Builds a table file: the root element, then the version comment after it.
class XmlWriter {
 public:
  explicit XmlWriter(const char* root_name);
  pugi::xml_node root() const { return root_; }
  // Appends a `row` element with the attributes in the order given.
  pugi::xml_node add_row(Attributes attributes);
  // Appends an element holding only text.
  pugi::xml_node add_text_element(pugi::xml_node parent, const char* name, std::string_view text);
  // The document as written: no declaration, no indentation, UTF-8.
  std::string text() const;
  // Replaces the file as a whole; a failure leaves the old file intact.
  Status save(const std::filesystem::path& path) const;

 private:
  pugi::xml_document doc_;
  pugi::xml_node root_;
};

}  // namespace brenvale
