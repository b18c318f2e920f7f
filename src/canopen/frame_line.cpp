#include "canopen/frame_line.h"

#include "text/int_text.h"

namespace brenvale {

namespace {

bool in_range(const std::string& text, int low, int high) {
  const int value = parse_int_or(text, -1);
  return value >= low && value <= high;
}

}  // namespace

FrameLine default_frame_line(int number) {
  FrameLine frame;
  frame.pgn = "0x000" + std::to_string(number);
  frame.sa = "0x0" + std::to_string(number);
  return frame;
}

std::vector<pugi::xml_node> child_elements(pugi::xml_node parent, std::size_t limit) {
  std::vector<pugi::xml_node> elements;
  for (pugi::xml_node child : parent.children()) {
    if (elements.size() >= limit) break;
    if (child.type() == pugi::node_element) elements.push_back(child);
  }
  return elements;
}

int list_choice(int value, int list_size) { return value >= 0 && value < list_size ? value : kNoChoice; }

std::optional<FrameLine> read_frame_line(pugi::xml_node row, bool with_priority, int data_page_choices) {
  FrameLine frame;
  if (with_priority) {
    const std::optional<std::int32_t> priority = parse_int(attribute(row, "Priority").value_or(""));
    if (!priority) return std::nullopt;
    frame.priority = list_choice(*priority, kPriorityChoices);
  }
  const std::optional<std::int32_t> data_page = parse_int(attribute(row, "DataPage").value_or(""));
  if (!data_page) return std::nullopt;
  frame.data_page = list_choice(*data_page, data_page_choices);
  frame.pgn = attribute(row, "PGN").value_or("");
  frame.sa = attribute(row, "SA").value_or("");
  frame.mnemonic = attribute(row, "Mnemonic").value_or("");
  return frame;
}

void add_frame_row(XmlWriter& writer, const FrameLine& frame, int stored_priority) {
  const std::string priority = std::to_string(stored_priority);
  const std::string data_page = std::to_string(frame.data_page);
  writer.add_row({{"Priority", priority},
                  {"DataPage", data_page},
                  {"PGN", frame.pgn},
                  {"SA", frame.sa},
                  {"Mnemonic", frame.mnemonic}});
}

bool pgn_in_range(const std::string& pgn) { return in_range(pgn, 0, kMaxPgn); }

bool source_address_in_range(const std::string& sa) { return in_range(sa, 0, kMaxSourceAddress); }

}  // namespace brenvale
