// The data sheet of the converter with Ethernet port. Its object sections list AccessType before
// DefaultValue and write object types with two digits; it describes every PDO of the tables (up
// to ten of each direction), mapped onto the data objects 0x6000+i (receive) and 0x6050+i
// (transmit).
#include <optional>
#include <string>

#include "eds/eds_lines.h"

namespace brenvale::eds_detail {

namespace {

// The template's author, named in the file's CreatedBy and ModifiedBy lines.
constexpr const char* kTemplateAuthor = "eds@corvane.com";

// Data object letters of the receive and transmit PDOs 1...10.
constexpr const char* kReceiveLetters = "bcdefghjki";
constexpr const char* kTransmitLetters = "lmnopqrstu";

struct Var {
  std::string name;
  const char* data_type;
  const char* access;
  std::optional<std::string> default_value;  // no line when absent
  const char* pdo_mapping = "0";
};

void var_section(EdsLines& out, const std::string& section, const Var& var, bool end_with_empty = true) {
  out.section(section);
  out.line("ParameterName", var.name);
  out.line("ObjectType", "0x07");
  out.line("DataType", var.data_type);
  out.line("AccessType", var.access);
  if (var.default_value) out.line("DefaultValue", *var.default_value);
  out.line("PDOMapping", var.pdo_mapping);
  if (end_with_empty) out.empty();
}

void header(EdsLines& out, const EdsInputs& inputs) {
  const auto receive = static_cast<unsigned>(inputs.pdos.receive.size());
  const auto transmit = static_cast<unsigned>(inputs.pdos.transmit.size());

  out.section("FileInfo");
  out.line("FileName", "s1.eds");
  out.line("FileVersion", "1");
  out.line("FileRevision", "0");
  out.line("EDSVersion", "4.0");
  out.line("Description", "Example for CANopen Library.");
  out.line("CreationTime", "12:09PM");
  out.line("CreationDate", "08-15-2005");
  out.line("CreatedBy", kTemplateAuthor);
  out.line("ModificationTime", "12:01PM");
  out.line("ModificationDate", "12-09-2013");
  out.line("ModifiedBy", kTemplateAuthor);
  out.empty();

  out.section("DeviceInfo");
  out.line("VendorName", "port GmbH Halle");
  out.line("VendorNumber", "0x34");
  out.line("ProductName", "CANopen Library Example \"s1\"");
  out.line("ProductNumber", "0x80015");
  out.line("RevisionNumber", "0x0");
  out.line("OrderCode", "0318/1");
  baud_rate_lines(out);
  out.line("DynamicChannelsSupported", "0");
  out.line("GroupMessaging", "0");
  out.line("LSS_Supported", "0");
  out.line("Granularity", "0");
  out.line("SimpleBootUpSlave", "1");
  out.line("SimpleBootUpMaster", "0");
  out.line("NrOfRXPDO", dec(receive));
  out.line("NrOfTXPDO", dec(transmit));
  out.empty();

  out.section("Comments");
  out.line("Lines", "0");
  out.empty();

  out.section("DummyUsage");
  for (int k = 1; k <= 7; ++k) out.line("Dummy000" + dec(k), "0");
  out.empty();

  out.section("MandatoryObjects");
  out.line("SupportedObjects", "3");
  out.line("1", "0x1000");
  out.line("2", "0x1001");
  out.line("3", "0x1018");
  out.empty();

  out.section("OptionalObjects");
  out.line("SupportedObjects", dec(3 * receive + 3 * transmit + 5));
  const char* fixed[] = {"0x1005", "0x1006", "0x1008", "0x1017", "0x1280"};
  unsigned k = 1;
  for (const char* index : fixed) out.line(dec(k++), index);
  auto item = [&](unsigned index) { out.line(dec(k++), "0x" + hex(index, 4)); };
  for (unsigned i = 0; i < receive; ++i) {
    item(0x1400 + i);
    item(0x1600 + i);
  }
  for (unsigned i = 0; i < transmit; ++i) {
    item(0x1800 + i);
    item(0x1A00 + i);
  }
  for (unsigned i = 0; i < receive; ++i) item(0x6000 + i);
  for (unsigned i = 0; i < transmit; ++i) item(0x6050 + i);
  out.empty();

  // The server SDO objects, so that masters that read objects through these lists find them.
  out.section("ManufacturerObjects");
  out.line("SupportedObjects", dec(static_cast<unsigned>(inputs.sdo_objects.size())));
  k = 1;
  for (const SDO_Index& object : inputs.sdo_objects) item(object.Index);
  out.empty();
}

void fixed_sections(EdsLines& out) {
  var_section(out, "1000", {"Device Type", "0x0007", "const", "0x0000000"});
  var_section(out, "1001", {"Error Register", "0x0005", "ro", "0x00"});
  var_section(out, "1005", {"COB-ID SYNC", "0x0007", "rw", "0x80000080"});
  var_section(out, "1006", {"Communication Cycle Period", "0x0007", "rw", "0x00000000"});
  var_section(out, "1008", {"Manufacturer Device Name", "0x0009", "const", "s1"});
  var_section(out, "1017", {"Producer Heartbeat Time", "0x0006", "rw", "0x000003E8"});
  record_section(out, "1018", 5, "Identity Object", "0x09");
  var_section(out, "1018sub0", {"number of entries", "0x0005", "ro", "0x4"});
  var_section(out, "1018sub1", {"Vendor Id", "0x0007", "ro", std::nullopt});
  var_section(out, "1018sub2", {"Product Code", "0x0007", "ro", std::nullopt});
  var_section(out, "1018sub3", {"Revision number", "0x0007", "ro", std::nullopt});
  var_section(out, "1018sub4", {"Serial number", "0x0007", "ro", std::nullopt});
  record_section(out, "1280", 4, "Client SDO Parameter 1", "0x09");
  var_section(out, "1280sub0", {"Number of Entries", "0x0005", "ro", "0x03"});
  var_section(out, "1280sub1", {"COB-ID Client -> Server", "0x0007", "rw", std::nullopt});
  var_section(out, "1280sub2", {"COB-ID Server -> Client", "0x0007", "rw", std::nullopt});
  // The template runs straight on into the next section here.
  var_section(out, "1280sub3", {"Node ID of the SDO Server", "0x0005", "rw", std::nullopt}, false);
}

// "Name" for the first PDO when `plain_first`, "Name N" otherwise (N counted from 1).
std::string numbered(const char* name, unsigned i, bool plain_first) {
  if (i == 0 && plain_first) return name;
  return std::string(name) + " " + dec(i + 1);
}

// COB-ID values: receive PDOs as they are, transmit PDOs with bit 30 set ("0x4" + 7 digits).
void communication_sections(EdsLines& out, unsigned base, const std::vector<PdoSummary>& pdos, bool transmit) {
  for (unsigned i = 0; i < pdos.size(); ++i) {
    const unsigned index = base + i;
    const std::string name = transmit ? numbered("Transmit PDO Communication Parameter", i, false)
                                      : numbered("Receive PDO Communication Parameter", i, true);
    const std::string cob_id = transmit ? "0x4" + hex(pdos[i].cob_id, 7) : "0x" + hex(pdos[i].cob_id, 8);
    record_section(out, object_section(index), 4, name, "0x09");
    var_section(out, sub_section(index, 0), {"Number of Entries", "0x0005", "ro", "0x03"});
    var_section(out, sub_section(index, 1), {"COB-ID", "0x0007", "rw", cob_id});
    var_section(out, sub_section(index, 2), {"Transmission Type", "0x0005", "rw", "0xFE"});
    var_section(out, sub_section(index, 3), {"Inhibit Time", "0x0006", "rw", "0x0"});
  }
}

// Sub-index j of mapping i maps sub-index j of data object `data_base` + i (8 bits).
void mapping_sections(EdsLines& out, unsigned base, unsigned data_base, const std::vector<PdoSummary>& pdos,
                      bool transmit) {
  for (unsigned i = 0; i < pdos.size(); ++i) {
    const unsigned index = base + i;
    const unsigned length = pdos[i].length;
    const std::string name = transmit ? numbered("Transmit PDO Mapping Parameter", i, false)
                                      : numbered("Receive PDO Mapping Parameter", i, true);
    record_section(out, object_section(index), length + 1, name, "0x09");
    var_section(out, sub_section(index, 0), {"Number of Entries", "0x0005", "ro", "0x0" + dec(length)});
    for (unsigned j = 1; j <= length; ++j) {
      var_section(out, sub_section(index, j),
                  {"Mapping Entry " + dec(j), "0x0007", "ro", "0x" + hex(data_base + i, 4) + hex(j, 2) + "08"});
    }
  }
}

void data_objects(EdsLines& out, unsigned base, const std::vector<PdoSummary>& pdos, bool transmit) {
  for (unsigned i = 0; i < pdos.size(); ++i) {
    const unsigned index = base + i;
    const unsigned length = pdos[i].length;
    record_section(out, object_section(index), length + 1, (transmit ? "TPDO" : "RPDO") + dec(i + 1), "0x08");
    const char* count_access = (transmit || i >= 2) ? "rw" : "ro";
    var_section(out, sub_section(index, 0), {"Number of Entries", "0x0005", count_access, "0x" + dec(length)});
    const char letter = (transmit ? kTransmitLetters : kReceiveLetters)[i];
    for (unsigned j = 1; j <= length; ++j) {
      var_section(out, sub_section(index, j), {letter + dec(j), "0x0005", transmit ? "rwr" : "rww", "0x0", "1"});
    }
  }
}

}  // namespace

Result<std::string> with_port_text(const EdsInputs& inputs) {
  EdsLines out;
  header(out, inputs);
  fixed_sections(out);
  communication_sections(out, 0x1400, inputs.pdos.receive, false);
  mapping_sections(out, 0x1600, 0x6000, inputs.pdos.receive, false);
  communication_sections(out, 0x1800, inputs.pdos.transmit, true);
  mapping_sections(out, 0x1A00, 0x6050, inputs.pdos.transmit, true);
  data_objects(out, 0x6000, inputs.pdos.receive, false);
  data_objects(out, 0x6050, inputs.pdos.transmit, true);
  Status sdo = server_sdo_sections(out, inputs.sdo_objects);
  if (!sdo) return sdo.error();
  out.empty();
  return out.take();
}

}  // namespace brenvale::eds_detail
