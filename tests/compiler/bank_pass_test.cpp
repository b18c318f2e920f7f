#include <gtest/gtest.h>

#include <algorithm>

#include "compiler/compiler.h"
#include "compiler/layout.h"
#include "project_files.h"

namespace brenvale {
namespace {

using testing::all_bytes;
using testing::compile_ok;
using testing::bytes;
using testing::files_of;
using testing::frame_row;
using testing::node;
using testing::par_gen_xml;
using testing::Project;
using testing::receive_frame;
using testing::sdo_object;
using testing::stamp;
using testing::table_xml;
using testing::transmit_frame;
using testing::with;
using Bytes = std::vector<std::uint8_t>;

TEST(BankPass, EmptyConfigurationGivesThePresetsAndTheStampOnly) {
  Project project;
  Compiler compiler;
  compile_ok(compiler, project);
  const ConstByteSpan bank1 = compiler.bank(1);
  EXPECT_TRUE(all_bytes(bank1, 0, 4096, 0xFF));
  EXPECT_TRUE(all_bytes(bank1, 4096, 256, 0x00));
  EXPECT_TRUE(all_bytes(bank1, 4352, 15700 - 4352, 0x00));
  EXPECT_TRUE(all_bytes(bank1, 15700, 200, 0xFF));
  // Without ParGen.xml the settings, counts and delete bitmap are not written: only the stamp.
  EXPECT_TRUE(all_bytes(bank1, 15900, 120, 0x00));
  EXPECT_EQ(get_u16le(bank1, 16020), 0xE119u);
  EXPECT_EQ(get_u16le(bank1, 16022), 0x9529u);
  EXPECT_TRUE(all_bytes(bank1, 16024, 176, 0x00));
  EXPECT_TRUE(all_bytes(bank1, 16200, 100, 0xFF));
  EXPECT_TRUE(all_bytes(bank1, 16300, 84, 0x00));
  for (int n = 2; n <= 5; ++n) EXPECT_TRUE(all_bytes(compiler.bank(n), 0, 16384, 0x00)) << n;
}

TEST(BankPass, CommunicationSettings) {
  Project project;
  project.write("ParGen.xml", par_gen_xml({{"BaudRateCAN", "5"},
                                           {"Baud_CANopen", "9"},
                                           {"IDDev_CANopen", "0x21"},
                                           {"Set_Ope_CANopen", "1"},
                                           {"Delay_CANopen", "300"},  // u8: 300 keeps 44
                                           {"TimeOut_Data", "abc"},   // lenient: 0
                                           {"Peer_to_Peer", "1"},
                                           {"Sent_TPDO", "0"},
                                           {"Sent_TPDO_Time", "70000"},  // u16: 70000 keeps 4464
                                           {"NodeGuard", "1"},
                                           {"BG_Send_Every", "<missing>"},
                                           {"EN_SDO_Client", "1"},
                                           {"TO_SDO_Client", "$1234"}}));
  Compiler compiler;
  compile_ok(compiler, project);
  const ConstByteSpan bank1 = compiler.bank(1);
  const Bytes expected{
      6,    1, 0x21, 9, 1, 0, 44, 0,  // bit-rate index + 1, CAN type, node ID, CANopen bit rate, ...
      1,    0,                        // 16008: u16 1
      1,    0,                        // 16010 peer-to-peer, 16011 not written
      0,    0, 0, 0, 0, 0, 0, 0,      // four counts
      0x19, 0xE1, 0x29, 0x95,         // date, time
      0,    0,                        // RPDO and TPDO rows
      0,    0x70, 0x11,               // send method, send time 4464
      1,    0,    0xE8, 0x03,         // node guarding, send state, period 1000
      1,    0x34, 0x12,               // SDO client, time-out
  };
  EXPECT_EQ(bytes(bank1, 16000, 36), expected);
}

// Each strict value that cannot be read stops the compile with a message naming the file and the
// value, and no file reaches the bin folder.
TEST(BankPass, StrictConversionFailuresStopTheCompile) {
  struct Case {
    const char* file;
    std::string text;
    const char* message_part;
  };
  const Case cases[] = {
      {"TpdoJ1939.xml", table_xml("PDOJ1939", {{{"COB-ID", "0x181"}, {"Dimension", "2"}, {"Offset", "1"}, {"Mnemonic", ""}}}),
       "TpdoJ1939.xml: row 1 has no attribute Frame_J1939"},
      {"pdoJ1939.xml",
       table_xml("Define_RPDO", {{{"COB-ID", "0x201"}, {"Dimension", "2"}, {"Offset", "1"}, {"Frame_J1939", "abc"}}}),
       "pdoJ1939.xml: row 1: Frame_J1939 \"abc\" is not a number"},
      {"ParGen.xml", par_gen_xml({{"CANType", "<missing>"}}), "ParGen.xml: the setting CANType is missing"},
      {"ParGen.xml", par_gen_xml({{"BaudRateCAN", ""}}), "the setting BaudRateCAN \"\" is not a number"},
      {"ParGen.xml", par_gen_xml({{"Delay_CANopen", "1 "}}), "Delay_CANopen \"1 \" is not a number"},
      {"RCobDef.xml", table_xml("COBID", {receive_frame("61444", "0"), receive_frame("65262 ", "0")}),
       "RCobDef.xml: row 2: PGN \"65262 \" is not a number"},
      {"TCobDef.xml", table_xml("COBID", {{{"DP", "0"}, {"PGN", "1"}, {"ID_DEV", "1"}}}),
       "TCobDef.xml: row 1 has no attribute Priority"},
      {"RInfoCob.xml", table_xml("RInfoCob", {sdo_object("1", "0x2000", "0", "0", "1", "2", "3", "x")}),
       "RInfoCob.xml: row 1: B4 \"x\" is not a number"},
      {"TInfoCob.xml", table_xml("DefineSDOServerTraJ1939", {sdo_object("1", "0x2000", "0", "0")}),
       "TInfoCob.xml: row 1 has no attribute Send_SDO"},
      {"NodeGuard.xml", table_xml("Node_Guarding", {node("5", "", "3")}), "NodeGuard.xml: row 1: GuardTime"},
      {"NG_J1939_Frame.xml", table_xml("NG_J1939_Frames", {{{"Priority", "0"}, {"PGN", "1"}, {"SA", "1"}}}),
       "NG_J1939_Frame.xml: row 1 has no attribute DataPage"},
      {"SDOClient.xml", table_xml("J1939_Frames_SDOClient", {frame_row("0", "0", "0xZZ", "1")}),
       "SDOClient.xml: row 1: PGN \"0xZZ\" is not a number"},
      {"RCobDef.xml", "<COBID><row PGN=\"1\"</COBID>", "RCobDef.xml: line 1, column"},
  };
  for (const Case& c : cases) {
    Project project;
    project.write(c.file, c.text);
    Compiler compiler;
    const Result<UpdatePath> done = compile_and_write(compiler, files_of(project), fixed_clock(stamp()));
    ASSERT_FALSE(done.ok()) << c.file << " " << c.text;
    EXPECT_NE(done.error().message.find(c.message_part), std::string::npos) << done.error().message;
    EXPECT_EQ(testing::entry_count(project.bin()), 0u) << c.file;
  }
}

TEST(BankPass, ReceiveRowsAndDeleteBitmap) {
  Project project;
  std::vector<testing::Row> rows;
  for (int i = 0; i < 10; ++i) {
    const bool deleted = i == 1 || i == 9;
    rows.push_back(receive_frame(std::to_string(65000 + i), std::to_string(i + 0x20), "N", "", "", deleted ? (i == 1 ? "y" : "Y") : "N"));
  }
  rows[3].pop_back();  // a row without Mnemonic is still a row
  project.write("RCobDef.xml", table_xml("COBID", rows));
  project.write("ParGen.xml", par_gen_xml());
  Compiler compiler;
  compile_ok(compiler, project);
  const ConstByteSpan bank1 = compiler.bank(1);
  for (std::uint32_t i = 0; i < 10; ++i) {
    EXPECT_EQ(get_u32le(bank1, 6 * i), 65000 + i);
    EXPECT_EQ(get_u8(bank1, 6 * i + 4), 0x20 + i);
    EXPECT_EQ(get_u8(bank1, 6 * i + 5), i);
  }
  EXPECT_TRUE(all_bytes(bank1, 60, 4096 - 60, 0xFF));
  EXPECT_EQ(get_u16le(bank1, 16012), 10u);
  EXPECT_EQ(bytes(bank1, 16100, 3), (Bytes{0x02, 0x02, 0x00}));
  // The configuration image marks the same rows with flag bit 1.
  EXPECT_EQ(get_u8(compiler.image(), 16 * 1 + 4), 0x02u);
  EXPECT_EQ(get_u8(compiler.image(), 16 * 9 + 4), 0x02u);
  EXPECT_EQ(get_u8(compiler.image(), 16 * 2 + 4), 0x00u);
}

TEST(BankPass, TransmitWordsSdoRowsAndPdoRows) {
  Project project;
  project.write("ParGen.xml", par_gen_xml());
  project.write("RCobDef.xml", table_xml("COBID", {receive_frame("61444", "0"), receive_frame("65262", "0")}));
  project.write("TCobDef.xml", table_xml("COBID", {transmit_frame("6", "0", "61444", "0"), transmit_frame("3", "1", "0xFEEE", "0x21")}));
  // Rows are stored whether or not their frame exists.
  project.write("RInfoCob.xml", table_xml("RInfoCob", {sdo_object("2", "0x2001", "3", "1", "4", "5"),
                                                       sdo_object("0", "$5FFF", "255", "2", "8"),
                                                       sdo_object("7", "8192", "1", "0", "1", "2", "3", "4")}));
  project.write("TInfoCob.xml", table_xml("DefineSDOServerTraJ1939",
                                          {with(sdo_object("1", "0x3000", "1", "0", "8", "7", "6", "5"), "Send_SDO", "1")}));
  project.write("pdoJ1939.xml", table_xml("Define_RPDO", {{{"COB-ID", "0x201"}, {"Dimension", "4"}, {"Offset", "5"}, {"Frame_J1939", "2"}, {"Mnemonic", ""}}}));
  project.write("TpdoJ1939.xml", table_xml("PDOJ1939", {{{"COB-ID", "0x181"}, {"Dimension", "8"}, {"Frame_J1939", "1"}, {"Mnemonic", ""}},
                                                        {{"COB-ID", "0x182"}, {"Dimension", "2"}, {"Offset", "x"}, {"Frame_J1939", "9"}, {"Mnemonic", ""}}}));
  Compiler compiler;
  compile_ok(compiler, project);
  const ConstByteSpan bank1 = compiler.bank(1);
  const ConstByteSpan bank2 = compiler.bank(2);

  EXPECT_EQ(get_u32le(bank2, 0), 0x18F00400u);
  EXPECT_EQ(get_u32le(bank2, 4), 0x0DFEEE21u);
  EXPECT_TRUE(all_bytes(bank2, 8, 992, 0x00));

  EXPECT_EQ(bytes(bank1, 1000, 27), (Bytes{0x01, 0x20, 3, 2, 2, 4, 5, 0, 0,  //
                                          0xFF, 0x5F, 255, 1, 0, 8, 0, 0, 0,  //
                                          0x00, 0x20, 1, 4, 7, 1, 2, 3, 4}));
  EXPECT_EQ(get_u8(bank1, 1027), 0xFFu);
  EXPECT_EQ(bytes(bank2, 1000, 11), (Bytes{0x00, 0x30, 1, 4, 1, 8, 7, 6, 5, 1, 0}));

  EXPECT_EQ(bytes(bank1, 15500, 5), (Bytes{0x01, 0x02, 4, 2, 5}));
  // A TPDO without a start byte that can be read starts at byte 1.
  EXPECT_EQ(bytes(bank1, 15600, 10), (Bytes{0x81, 0x01, 8, 1, 1, 0x82, 0x01, 2, 9, 1}));

  EXPECT_EQ(bytes(bank1, 16012, 8), (Bytes{2, 0, 2, 0, 3, 0, 1, 0}));
  EXPECT_EQ(get_u8(bank1, 16024), 1u);
  EXPECT_EQ(get_u8(bank1, 16025), 2u);
}

TEST(BankPass, NodeGuardingAndFrameWordsIgnoreTheEnableSettings) {
  Project project;
  project.write("ParGen.xml", par_gen_xml({{"NodeGuard", "0"}, {"EN_SDO_Client", "0"}}));
  // The compiler reads the rows under any root name.
  project.write("NodeGuard.xml", table_xml("Guarded", {node("2", "1000", "3"), node("3", "0x1234", "4"), node("127", "65535", "255")}));
  project.write("NG_J1939_Frame.xml", table_xml("NG_J1939_Frames", {frame_row("6", "0", "0xFF10", "0x80"), frame_row("7", "1", "0", "0")}));
  project.write("SDOClient.xml", table_xml("J1939_Frames_SDOClient", {frame_row("0", "0", "0xEF00", "0xF9"), frame_row("6", "0", "0xEF01", "0x10"),
                                                                      frame_row("0", "1", "0xEF02", "0xF9")}));
  Compiler compiler;
  compile_ok(compiler, project);
  const ConstByteSpan bank1 = compiler.bank(1);
  EXPECT_EQ(bytes(bank1, 15700, 12), (Bytes{2, 0xE8, 0x03, 3, 3, 0x34, 0x12, 4, 127, 0xFF, 0xFF, 255}));
  EXPECT_TRUE(all_bytes(bank1, 15712, 15850 - 15712, 0xFF));
  EXPECT_EQ(get_u32le(bank1, 15850), 0x18FF1080u);
  EXPECT_EQ(get_u32le(bank1, 15854), 0x1D000000u);
  EXPECT_TRUE(all_bytes(bank1, 15858, 42, 0xFF));
  EXPECT_EQ(get_u32le(bank1, 16200), 0x00EF00F9u);
  EXPECT_EQ(get_u32le(bank1, 16204), 0x18EF0110u);
  EXPECT_EQ(get_u32le(bank1, 16208), 0x01EF02F9u);
  EXPECT_TRUE(all_bytes(bank1, 16212, 88, 0xFF));
}

TEST(BankPass, ASecondCompileKeepsWhatItDoesNotWrite) {
  Project project;
  project.write("ParGen.xml", par_gen_xml({{"IDDev_CANopen", "7"}}));
  std::vector<testing::Row> transmit;
  for (int i = 0; i < 5; ++i) transmit.push_back(transmit_frame("3", "0", std::to_string(61440 + i), "0"));
  project.write("TCobDef.xml", table_xml("COBID", transmit));
  project.write("NodeGuard.xml", table_xml("Node_Guarding", {node("1", "100", "3"), node("2", "100", "3"), node("3", "100", "3")}));
  Compiler compiler;
  compile_ok(compiler, project);

  transmit.resize(2);
  project.write("TCobDef.xml", table_xml("COBID", transmit));
  project.write("NodeGuard.xml", table_xml("Node_Guarding", {node("9", "100", "3")}));
  compile_ok(compiler, project);
  const ConstByteSpan bank2 = compiler.bank(2);
  for (std::uint32_t i = 0; i < 5; ++i) EXPECT_EQ(get_u32le(bank2, 4 * i), 0x0C000000u + ((61440 + i) << 8)) << i;
  EXPECT_EQ(get_u16le(compiler.bank(1), 16014), 2u);
  // Node-guarding rows sit in the pre-set range: the earlier rows are gone.
  EXPECT_EQ(get_u8(compiler.bank(1), 15700), 9u);
  EXPECT_TRUE(all_bytes(compiler.bank(1), 15704, 146, 0xFF));
  const Bytes second_settings = bytes(compiler.bank(1), 16000, 132);

  // Without ParGen.xml the settings bytes keep the first compile's values; only the stamp changes.
  project.remove("ParGen.xml");
  project.write("TCobDef.xml", table_xml("COBID", {}));
  const Status third = compiler.compile(files_of(project), fixed_clock({2026, 1, 2, 3, 4, 5}));
  ASSERT_TRUE(third.ok());
  Bytes expected = second_settings;
  expected[20] = 0x9A;  // 2026-01-02: 2 x 2048 + 1 x 128 + 26 = 0x109A
  expected[21] = 0x10;
  expected[22] = 0x83;  // 03:04:05: 2 x 2048 + 4 x 32 + 3 = 0x1083
  expected[23] = 0x10;
  EXPECT_EQ(bytes(compiler.bank(1), 16000, 132), expected);
}

}  // namespace
}  // namespace brenvale

namespace brenvale {
namespace {

// A compile that fails keeps the bank bytes it wrote before the failure, and the configuration
// image of the last good compile.
TEST(BankPass, AFailedCompileKeepsWhatItWroteAndTheLastImage) {
  testing::Project project;
  project.write("TCobDef.xml", testing::table_xml("COBID", {testing::transmit_frame("6", "0", "1", "0")}));
  Compiler compiler;
  testing::compile_ok(compiler, project);
  const std::vector<std::uint8_t> image(compiler.image().begin(), compiler.image().end());

  project.write("TCobDef.xml", testing::table_xml("COBID", {testing::transmit_frame("6", "0", "2", "0"),
                                                            testing::transmit_frame("6", "0", "3", "0")}));
  project.write("ParGen.xml", testing::par_gen_xml({{"CANType", "<missing>"}}));
  const Status failed = compiler.compile(testing::files_of(project), fixed_clock({2026, 5, 6, 7, 8, 9}));
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(get_u32le(compiler.bank(2), 0), 0x18000200u);
  EXPECT_EQ(get_u32le(compiler.bank(2), 4), 0x18000300u);
  // The settings stop at CANType: the bit-rate byte before it is written, the stamp is not.
  EXPECT_EQ(get_u8(compiler.bank(1), 16000), 6u);
  EXPECT_EQ(get_u16le(compiler.bank(1), 16020), 0xE119u);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), compiler.image().begin()));
}

}  // namespace
}  // namespace brenvale
