#include "eds/eds_lines.h"

#include <cstdio>

namespace brenvale::eds_detail {

void EdsLines::section(std::string_view name) {
  sections_.emplace(name);
  text_ += '[';
  text_ += name;
  text_ += "]\r\n";
}

void EdsLines::line(std::string_view key, std::string_view value) {
  text_ += key;
  text_ += '=';
  text_ += value;
  text_ += "\r\n";
}

void EdsLines::empty() { text_ += "\r\n"; }

std::string hex(unsigned value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
  return buffer;
}

std::string hex(unsigned value) { return hex(value, 1); }

std::string dec(unsigned value) { return std::to_string(value); }

std::string object_section(unsigned index) { return hex(index, 4); }

std::string sub_section(unsigned index, unsigned sub) { return hex(index, 4) + "sub" + hex(sub); }

void record_section(EdsLines& out, const std::string& section, unsigned sub_number, const std::string& name,
                    const char* object_type) {
  out.section(section);
  out.line("SubNumber", dec(sub_number));
  out.line("ParameterName", name);
  out.line("ObjectType", object_type);
  out.empty();
}

void baud_rate_lines(EdsLines& out) {
  for (const char* rate : {"10", "20", "50", "125", "250", "500"}) out.line(std::string("BaudRate_") + rate, "1");
  out.line("BaudRate_800", "0");
  out.line("BaudRate_1000", "1");
}

SizeDescription size_description(std::uint8_t size_code) {
  switch (size_code) {
    case kSize1Byte: return {"0x0005", "0x00", "0xFF", "0x00"};
    case kSize2Bytes: return {"0x0006", "0x0000", "0xFFFF", "0x0000"};
    default: return {"0x0007", "0x00000000", "0xFFFFFFFF", "0x00000000"};
  }
}

Status server_sdo_sections(EdsLines& out, const std::vector<SDO_Index>& objects) {
  for (const SDO_Index& object : objects) {
    if (out.has_section(object_section(object.Index))) {
      return Error{"Server SDO object 0x" + hex(object.Index, 4) +
                   " has the index of an object that the EDS of this device describes itself; "
                   "give the server SDO object another index"};
    }
    const std::vector<SDO_Sub_Type>& entries = object.Sub_Indexs;
    const bool needs_sub0 = !entries.empty() && entries.front().Sub != 0;

    out.section(object_section(object.Index));
    out.line("SubNumber", dec(static_cast<unsigned>(entries.size()) + (needs_sub0 ? 1 : 0)));
    out.line("ParameterName", "App Vars");
    out.line("ObjectType", "0x9");
    out.empty();

    if (needs_sub0) {
      out.section(sub_section(object.Index, 0));
      out.line("ParameterName", "Largest Sub-Index supported");
      out.line("ObjectType", "0x7");
      out.line("DataType", "0x0005");
      out.line("AccessType", "ro");
      out.line("DefaultValue", "0x" + hex(entries.back().Sub, 2));
      out.line("PDOMapping", "0");
      out.empty();
    }

    for (const SDO_Sub_Type& entry : entries) {
      const SizeDescription size = size_description(entry.Quantity);
      out.section(sub_section(object.Index, entry.Sub));
      out.line("ParameterName", "Application Variable");
      out.line("ObjectType", "0x7");
      out.line("DataType", size.data_type);
      out.line("LowLimit", size.low_limit);
      out.line("HighLimit", size.high_limit);
      out.line("DefaultValue", size.default_value);
      out.line("AccessType", entry.Readonly ? "ro" : "rw");
      out.line("PDOMapping", "0");
      out.empty();
    }
  }
  return ok_status();
}

}  // namespace brenvale::eds_detail
