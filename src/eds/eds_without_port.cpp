// The data sheet of the converter without Ethernet port. Its object sections list the key
// DefaultValue before AccessType; it describes up to four PDOs of each direction, mapped onto
// the data objects 0x2020...0x2023 (receive) and 0x202A...0x202D (transmit).
#include <algorithm>
#include <string>

#include "eds/eds_lines.h"

namespace brenvale::eds_detail {

namespace {

// The PDOs of each direction that this device describes.
constexpr std::size_t kPdoSlots = 4;

struct Var {
  std::string name;
  const char* data_type;
  std::string default_value;
  const char* access;
  const char* pdo_mapping = "0";
};

void var_section(EdsLines& out, const std::string& section, const Var& var) {
  out.section(section);
  out.line("ParameterName", var.name);
  out.line("ObjectType", "0x7");
  out.line("DataType", var.data_type);
  out.line("DefaultValue", var.default_value);
  out.line("AccessType", var.access);
  out.line("PDOMapping", var.pdo_mapping);
  out.empty();
}

void header(EdsLines& out, std::size_t receive, std::size_t transmit, const std::string& date,
            const std::string& time) {
  out.section("FileInfo");
  out.line("FileName", "CANopen_to_J1939.eds");
  out.line("FileVersion", "1");
  out.line("FileRevision", "0");
  out.line("EDSVersion", "4.0");
  out.line("Description", "Gateway CANopen to J1939");
  out.line("CreationTime", time);
  out.line("CreationDate", date);
  out.line("CreatedBy", "Corvane");
  out.line("ModificationTime", time);
  out.line("ModificationDate", date);
  out.line("ModifiedBy", "Corvane");
  out.empty();

  out.section("DeviceInfo");
  out.line("VendorName", "Corvane");
  out.line("VendorNumber", "0");
  out.line("ProductName", "Gateway CANopen to J1939");
  out.line("ProductNumber", "318");
  out.line("RevisionNumber", "2");
  out.line("OrderCode", "0318/1");
  baud_rate_lines(out);
  out.line("SimpleBootUpSlave", "1");
  out.line("SimpleBootUpMaster", "0");
  out.line("Granularity", "1");
  out.line("DynamicChannelsSupported", "0");
  out.line("GroupMessaging", "0");
  out.line("NrOfRXPDO", dec(static_cast<unsigned>(receive)));
  out.line("NrOfTXPDO", dec(static_cast<unsigned>(transmit)));
  out.line("LSS_Supported", "0");
  out.empty();

  out.section("DummyUsage");
  out.line("Dummy0001", "0");
  for (int k = 2; k <= 7; ++k) out.line("Dummy000" + dec(k), "1");
  out.empty();

  out.section("Comments");
  out.line("Lines", "0x1");
  out.line("Line1", "Example for CANopen Library.");
  out.empty();
}

void mandatory_objects(EdsLines& out) {
  out.section("MandatoryObjects");
  out.line("SupportedObjects", "3");
  out.empty();
  out.line("1", "0x1000");
  out.line("2", "0x1001");
  out.line("3", "0x1018");
  out.empty();

  var_section(out, "1000", {"Device Type", "0x0007", "0x00010192", "const"});
  var_section(out, "1001", {"Error Register", "0x0005", "0x00", "ro"});
  out.empty();
  record_section(out, "1018", 5, "Identity Object", "0x9");
  var_section(out, "1018sub0", {"number of entries", "0x0005", "0x4", "rw"});
  var_section(out, "1018sub1", {"Vendor Id", "0x0004", "0x0", "rw"});
  var_section(out, "1018sub2", {"Product Code", "0x0004", "318", "rw"});
  var_section(out, "1018sub3", {"Revision number", "0x0004", "0x2", "rw"});
  var_section(out, "1018sub4", {"Serial number", "0x0004", "0x0", "rw"});
  out.empty();
}

void optional_objects(EdsLines& out, std::size_t receive, std::size_t transmit) {
  out.section("OptionalObjects");
  out.line("SupportedObjects", dec(static_cast<unsigned>(2 * receive + 2 * transmit + 7)));
  out.empty();
  const char* fixed[] = {"0x1003", "0x1008", "0x1009", "0x100A", "0x1017", "0x1200", "0x1280"};
  unsigned k = 1;
  for (const char* index : fixed) out.line(dec(k++), index);
  auto list = [&](unsigned base, std::size_t count) {
    for (unsigned i = 0; i < count; ++i) out.line(dec(k++), "0x" + hex(base + i, 4));
  };
  list(0x1400, receive);
  list(0x1600, receive);
  list(0x1800, transmit);
  list(0x1A00, transmit);
  out.empty();

  record_section(out, "1003", 2, "Pre-defined Error Field", "0x8");
  var_section(out, "1003sub0", {"Number of Errors", "0x0005", "0x00000000", "rw"});
  var_section(out, "1003sub1", {"Standard Error Field", "0x0007", "0x00000000", "ro"});
  var_section(out, "1008", {"Manufacturer Device Name", "0x0009", "0", "const"});
  var_section(out, "1009", {"Manufacturer Hardware Version", "0x0009", "0", "const"});
  var_section(out, "100A", {"Manufacturer Software Version", "0x0009", "0", "const"});
  var_section(out, "1017", {"p301_prod_HB_time", "0x0006", "0x03E8", "rw"});
  out.empty();
  record_section(out, "1200", 3, "Server SDO Parameter", "0x9");
  var_section(out, "1200sub0", {"Number of Entries", "0x0005", "0x02", "ro"});
  // The converter answers on the default SDO channel of its own node ID.
  var_section(out, "1200sub1", {"COB-ID Client -> Server", "0x0007", "$NODEID+0x600", "ro"});
  var_section(out, "1200sub2", {"COB-ID Server -> Client", "0x0007", "$NODEID+0x580", "ro"});
  record_section(out, "1280", 4, "Client SDO Parameter", "0x9");
  var_section(out, "1280sub0", {"Number of Entries", "0x0005", "0x03", "ro"});
  var_section(out, "1280sub1", {"COB-ID Client -> Server", "0x0007", "0x800006E0", "rw"});
  var_section(out, "1280sub2", {"COB-ID Server -> Client", "0x0007", "0x800006E0", "rw"});
  var_section(out, "1280sub3", {"Node ID of the SDO Server", "0x0005", "0x00", "rw"});
}

void communication_sections(EdsLines& out, unsigned base, const char* name, const std::vector<PdoSummary>& pdos,
                            std::size_t count) {
  for (unsigned i = 0; i < count; ++i) {
    const unsigned index = base + i;
    record_section(out, object_section(index), 4, name, "0x9");
    var_section(out, sub_section(index, 0), {"Number of Entries", "0x0005", "0x03", "ro"});
    var_section(out, sub_section(index, 1), {"COB-ID", "0x0007", "0x" + hex(pdos[i].cob_id, 8), "rw"});
    var_section(out, sub_section(index, 2), {"Transmission Type", "0x0005", "0xFE", "rw"});
    var_section(out, sub_section(index, 3), {"Inhibit Time", "0x0006", "0x0000", "rw"});
  }
}

// Sub-index j of mapping i maps byte j of data object `data_base` + i (8 bits).
void mapping_sections(EdsLines& out, unsigned base, const char* name, unsigned data_base,
                      const std::vector<PdoSummary>& pdos, std::size_t count) {
  for (unsigned i = 0; i < count; ++i) {
    const unsigned index = base + i;
    const unsigned length = pdos[i].length;
    record_section(out, object_section(index), length + 1, name, "0x9");
    var_section(out, sub_section(index, 0), {"Number of Entries", "0x0005", "0x" + hex(length, 2), "rw"});
    for (unsigned j = 1; j <= length; ++j) {
      var_section(out, sub_section(index, j),
                  {"PDO Mapping Entry", "0x0007", "0x" + hex(data_base + i, 4) + hex(j, 2) + "08", "rw"});
    }
  }
}

void data_objects(EdsLines& out, unsigned base, const char* name, const char* letters, const char* access) {
  for (unsigned p = 1; p <= kPdoSlots; ++p) {
    const unsigned index = base + p - 1;
    record_section(out, object_section(index), 9, name + dec(p), "0x8");
    // The transmit objects carry the receive objects' entry-count name too.
    var_section(out, sub_section(index, 0), {"num_entry_rpdo" + dec(p), "0x0005", "0x8", "ro"});
    for (unsigned j = 1; j <= 8; ++j) {
      var_section(out, sub_section(index, j), {letters[p - 1] + dec(j), "0x0005", "0x0", access, "1"});
    }
  }
}

}  // namespace

Result<std::string> without_port_text(const EdsInputs& inputs, const std::string& date, const std::string& time) {
  // Only the PDOs that get sections are counted and listed, so every listed object is there.
  const std::size_t receive = std::min(inputs.pdos.receive.size(), kPdoSlots);
  const std::size_t transmit = std::min(inputs.pdos.transmit.size(), kPdoSlots);

  EdsLines out;
  header(out, receive, transmit, date, time);
  mandatory_objects(out);
  optional_objects(out, receive, transmit);

  communication_sections(out, 0x1400, "Receive PDO Communication Parameter", inputs.pdos.receive, receive);
  mapping_sections(out, 0x1600, "Receive PDO Mapping Parameter", 0x2020, inputs.pdos.receive, receive);
  communication_sections(out, 0x1800, "Transmit PDO Communication Parameter", inputs.pdos.transmit, transmit);
  mapping_sections(out, 0x1A00, "Transmit PDO Mapping Parameter", 0x202A, inputs.pdos.transmit, transmit);
  out.empty();
  out.empty();

  out.section("ManufacturerObjects");
  out.line("SupportedObjects", dec(static_cast<unsigned>(9 + inputs.sdo_objects.size())));
  out.empty();
  const char* fixed[] = {"0x2010", "0x2020", "0x2021", "0x2022", "0x2023", "0x202A", "0x202B", "0x202C", "0x202D"};
  unsigned k = 1;
  for (const char* index : fixed) out.line(dec(k++), index);
  for (const SDO_Index& object : inputs.sdo_objects) out.line(dec(k++), "0x" + hex(object.Index, 4));
  out.empty();

  var_section(out, "2010", {"7th Application Variable", "0x0007", "0x00000000", "rw"});
  data_objects(out, 0x2020, "data_rpdo", "abcd", "rww");
  data_objects(out, 0x202A, "data_tpdo", "mnop", "rwr");
  Status sdo = server_sdo_sections(out, inputs.sdo_objects);
  if (!sdo) return sdo.error();
  out.empty();
  return out.take();
}

}  // namespace brenvale::eds_detail
