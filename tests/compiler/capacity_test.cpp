#include <gtest/gtest.h>

#include <functional>

#include "compiler/compiler.h"
#include "project_files.h"

namespace brenvale {
namespace {

using testing::all_bytes;
using testing::files_of;
using testing::frame_row;
using testing::node;
using testing::par_gen_xml;
using testing::Project;
using testing::receive_frame;
using testing::Row;
using testing::sdo_object;
using testing::settings_block;
using testing::stamp;
using testing::table_xml;
using testing::transmit_frame;
using testing::with;

constexpr const char* kWithPort = "Device With Ethernet Port";
constexpr const char* kWithoutPort = "Device Without Ethernet Port";

struct TableCase {
  const char* table;  // as the refusal names it
  const char* file;
  const char* root;
  std::function<Row(int)> row;
  std::size_t bank_capacity;
  std::size_t image_capacity;  // 0: the image reads a fixed number of rows, nothing to refuse
};

Row pdo(int i) {
  return {{"COB-ID", std::to_string(0x181 + i)}, {"Dimension", "1"}, {"Offset", "1"}, {"Frame_J1939", "1"}, {"Mnemonic", ""}};
}

const std::vector<TableCase>& table_cases() {
  static const std::vector<TableCase> cases = {
      {"receive frame table", "RCobDef.xml", "COBID", [](int i) { return receive_frame(std::to_string(i), "0"); }, 166, 256},
      {"transmit frame table", "TCobDef.xml", "COBID", [](int i) { return transmit_frame("6", "0", std::to_string(i), "0"); }, 250, 256},
      {"SDO read table", "RInfoCob.xml", "RInfoCob", [](int i) { return sdo_object("1", std::to_string(0x2000 + i), "0", "0"); }, 344, 1536},
      {"SDO write table", "TInfoCob.xml", "DefineSDOServerTraJ1939",
       [](int i) { return with(sdo_object("1", std::to_string(0x2000 + i), "0", "0"), "Send_SDO", "0"); }, 1538, 1536},
      {"transmit PDO table", "TpdoJ1939.xml", "PDOJ1939", pdo, 20, 16},
      {"receive PDO table", "pdoJ1939.xml", "Define_RPDO", pdo, 20, 16},
      {"node-guarding table", "NodeGuard.xml", "Node_Guarding", [](int i) { return node(std::to_string(i % 127 + 1), "100", "3"); }, 37, 32},
      {"node-guarding frame table", "NG_J1939_Frame.xml", "NG_J1939_Frames", [](int i) { return frame_row("6", "0", std::to_string(i), "1"); }, 12, 0},
      {"SDO client frame table", "SDOClient.xml", "J1939_Frames_SDOClient", [](int i) { return frame_row("6", "0", std::to_string(i), "1"); }, 25, 0},
  };
  return cases;
}

// A configuration whose table `c` has `rows` rows; one receive and one transmit frame for the
// objects to refer to, node guarding and the SDO client enabled.
void write_project(const Project& project, const TableCase& c, std::size_t rows, const char* device) {
  project.write("ParGen.xml", par_gen_xml({{"Select_Device", device}, {"NodeGuard", "1"}, {"EN_SDO_Client", "1"}}));
  project.write("RCobDef.xml", table_xml("COBID", {receive_frame("61444", "0")}));
  project.write("TCobDef.xml", table_xml("COBID", {transmit_frame("6", "0", "61444", "0")}));
  std::vector<Row> table;
  for (std::size_t i = 0; i < rows; ++i) table.push_back(c.row(static_cast<int>(i)));
  project.write(c.file, table_xml(c.root, table));
}

std::string refusal(const TableCase& c, std::size_t rows, bool image_form) {
  std::string message = std::string("the ") + c.table + " (" + c.file + ") has " + std::to_string(rows) + " rows";
  message += image_form && (std::string(c.table).find("SDO read") != std::string::npos ||
                            std::string(c.table).find("SDO write") != std::string::npos ||
                            std::string(c.table).find("PDO") != std::string::npos)
                 ? " that refer to an existing frame, but the configuration image"
                 : image_form ? ", but the configuration image" : ", but the bank image";
  return message;
}

// A table that the device's own form cannot hold refuses the compile before any file is written;
// one row fewer compiles.
TEST(Capacities, RefusedWhenTheDevicesFormCannotHoldATable) {
  for (const TableCase& c : table_cases()) {
    for (const bool image_form : {false, true}) {
      const std::size_t capacity = image_form ? c.image_capacity : c.bank_capacity;
      if (capacity == 0) continue;
      SCOPED_TRACE(std::string(c.table) + (image_form ? " in the image" : " in the banks"));
      Project project;
      write_project(project, c, capacity, image_form ? kWithPort : kWithoutPort);
      Compiler compiler;
      const Result<UpdatePath> fits = compile_and_write(compiler, files_of(project), fixed_clock(stamp()));
      ASSERT_TRUE(fits.ok()) << fits.error().message;
      EXPECT_EQ(*fits, image_form ? UpdatePath::kEthernetUpdate : UpdatePath::kFirmwareFile);

      Project too_big;
      write_project(too_big, c, capacity + 1, image_form ? kWithPort : kWithoutPort);
      const Result<UpdatePath> refused = compile_and_write(compiler, files_of(too_big), fixed_clock(stamp()));
      ASSERT_FALSE(refused.ok());
      const std::string& message = refused.error().message;
      EXPECT_NE(message.find(refusal(c, capacity + 1, image_form)), std::string::npos) << message;
      EXPECT_NE(message.find("holds at most " + std::to_string(capacity) + "."), std::string::npos) << message;
      EXPECT_EQ(testing::entry_count(too_big.bin()), 0u);
    }
  }
}

// The form the device never receives is cut to its capacity, and its counts say so; nothing
// around the table changes.
TEST(Capacities, TheOtherFormIsCutToItsCapacity) {
  Compiler compiler;
  const auto compile = [&](const TableCase& c, std::size_t rows, const char* device) {
    Project project;
    write_project(project, c, rows, device);
    const Status done = compiler.compile(files_of(project), fixed_clock(stamp()));
    ASSERT_TRUE(done.ok()) << done.error().message;
  };
  const std::vector<TableCase>& cases = table_cases();

  // 256 receive frames, all marked for deletion: the bank holds 166 rows and 166 delete bits.
  TableCase deleted = cases[0];
  deleted.row = [](int i) { return receive_frame(std::to_string(i), "0", "N", "0", "8", "Y"); };
  compile(deleted, 256, kWithPort);
  ConstByteSpan bank1 = compiler.bank(1);
  EXPECT_EQ(get_u8(bank1, 6 * 165 + 5), 165u);
  EXPECT_TRUE(all_bytes(bank1, 996, 4096 - 996, 0xFF));
  EXPECT_EQ(get_u16le(bank1, 16012), 166u);
  EXPECT_TRUE(all_bytes(bank1, 16100, 20, 0xFF));
  EXPECT_EQ(get_u8(bank1, 16120), 0x3Fu);
  EXPECT_TRUE(all_bytes(bank1, 16121, 11, 0x00));
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x090), 256u);

  compile(cases[1], 256, kWithPort);  // transmit words: 250 in bank 2, then the SDO write rows
  EXPECT_EQ(get_u32le(compiler.bank(2), 4 * 249), 0x18000000u + (249u << 8));
  EXPECT_TRUE(all_bytes(compiler.bank(2), 1000, 10, 0x00));
  EXPECT_EQ(get_u16le(compiler.bank(1), 16014), 250u);

  compile(cases[2], 1536, kWithPort);  // SDO read rows end at the reserved bytes
  bank1 = compiler.bank(1);
  EXPECT_EQ(get_u16le(bank1, 1000 + 9 * 343), 0x2000u + 343);
  EXPECT_TRUE(all_bytes(bank1, 4096, 256, 0x00));
  EXPECT_EQ(get_u16le(bank1, 16016), 344u);
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x13C), 1536u);

  compile(cases[3], 1538, kWithoutPort);  // SDO write records end at the settings block
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x140), 1536u);
  EXPECT_EQ(get_u16le(compiler.image(), 0x7C00 + 20 * 1535 + 4), 0x2000u + 1535);
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x000), 250000u);
  EXPECT_EQ(get_u16le(compiler.bank(2), 1000 + 10 * 1537), 0x2000u + 1537);
  EXPECT_EQ(get_u16le(compiler.bank(1), 16018), 1538u);

  compile(cases[4], 20, kWithoutPort);  // TPDO records end at the RPDO table
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x144), 16u);
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x0CC), 16u);
  EXPECT_TRUE(all_bytes(compiler.image(), 0xFD00, 128, 0x00));
  EXPECT_EQ(get_u8(compiler.bank(1), 16025), 20u);

  compile(cases[6], 37, kWithoutPort);  // node-guarding records end at the frame table
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x154), 32u);
  EXPECT_TRUE(all_bytes(compiler.image(), 0xFE00, 256, 0x00));
  EXPECT_EQ(get_u8(compiler.bank(1), 15700 + 4 * 36), 37u);
  EXPECT_TRUE(all_bytes(compiler.bank(1), 15848, 2, 0xFF));

  compile(cases[8], 25, kWithPort);  // SDO client words end at the pre-set range
  EXPECT_EQ(get_u32le(compiler.bank(1), 16200 + 4 * 24), 0x18001801u);
  EXPECT_TRUE(all_bytes(compiler.bank(1), 16300, 84, 0x00));
}

}  // namespace
}  // namespace brenvale

namespace brenvale {
namespace {

TEST(Capacities, EveryTableTooLargeIsNamed) {
  testing::Project project;
  const std::vector<TableCase>& cases = table_cases();
  write_project(project, cases[4], 21, kWithoutPort);
  std::vector<testing::Row> nodes;
  for (int i = 0; i < 38; ++i) nodes.push_back(cases[6].row(i));
  project.write("NodeGuard.xml", testing::table_xml("Node_Guarding", nodes));
  Compiler compiler;
  const Status refused = compiler.compile(testing::files_of(project), fixed_clock(testing::stamp()));
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().message,
            "Cannot compile: the transmit PDO table (TpdoJ1939.xml) has 21 rows, but the bank image of a device "
            "without Ethernet port holds at most 20.\n"
            "Cannot compile: the node-guarding table (NodeGuard.xml) has 38 rows, but the bank image of a device "
            "without Ethernet port holds at most 37.\n"
            "No file was written.");
}

}  // namespace
}  // namespace brenvale
