// The text form shared by both data sheet templates: one entry per line (a section name, a
// key=value line or an empty line), CR LF after every line, upper-case hexadecimal digits.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "eds/eds_inputs.h"
#include "project/result.h"

namespace brenvale::eds_detail {

class EdsLines {
 public:
  void section(std::string_view name);
  void line(std::string_view key, std::string_view value);
  void empty();
  bool has_section(const std::string& name) const { return sections_.count(name) != 0; }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
  std::set<std::string, std::less<>> sections_;
};

// Exactly `digits` hexadecimal digits, leading zeros kept.
std::string hex(unsigned value, int digits);
// Hexadecimal without leading zeros.
std::string hex(unsigned value);
std::string dec(unsigned value);

// "1018" and "1018sub4", "2000subA".
std::string object_section(unsigned index);
std::string sub_section(unsigned index, unsigned sub);

// A record or array section: SubNumber, ParameterName, ObjectType.
void record_section(EdsLines& out, const std::string& section, unsigned sub_number, const std::string& name,
                    const char* object_type);

// The bit rates of the converter, in kbit/s: all but 800.
void baud_rate_lines(EdsLines& out);

// The description lines of a server SDO object's size code.
struct SizeDescription {
  const char* data_type;
  const char* low_limit;
  const char* high_limit;
  const char* default_value;
};
SizeDescription size_description(std::uint8_t size_code);

// The server SDO objects as record sections: each index's object section, a generated sub0
// when the smallest sub-index is not 0, then one section per entry. Entries must be sorted.
// An index that the template already describes itself is refused: two sections of one name
// would make readers reject the sheet or pick one of them.
Status server_sdo_sections(EdsLines& out, const std::vector<SDO_Index>& objects);

Result<std::string> without_port_text(const EdsInputs& inputs, const std::string& date, const std::string& time);
Result<std::string> with_port_text(const EdsInputs& inputs);

}  // namespace brenvale::eds_detail
